#!/usr/bin/env python3
"""Cold start of rur under a private Xvfb: the time from starting the process until its main
window "RUR 17.00" is mapped, until the data-set selection "RUR 17.00 - výběr" is mapped,
and the resident memory at that moment. Each run is a new process on a data root made once
before the runs (a separate line measures the very first start, which creates the data root
and shows "Výběr práce s daty" instead of the selection).
Prints the median of the runs.

    tools/measure_startup.py [path/to/rur] [runs]
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb(work):
    """A private X server on a display number no one else uses: Xvfb's own choice
    (-displayfd) can collide with servers that other programs start at the same moment."""
    for _ in range(20):
        number = random.randint(200, 999)
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        display = f":{number}"
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stderr=open(os.path.join(work, "xvfb.log"), "w"))
        env = dict(os.environ, DISPLAY=display)
        for _ in range(100):
            if xvfb.poll() is not None:
                break
            if subprocess.run(["xwininfo", "-root"], env=env, capture_output=True).returncode == 0:
                return xvfb, display
            time.sleep(0.05)
        xvfb.kill()
        xvfb.wait()
    raise SystemExit("Xvfb did not start: " + open(os.path.join(work, "xvfb.log")).read())


def mapped_titles(env):
    result = subprocess.run(["xwininfo", "-root", "-tree"], env=env, capture_output=True, text=True)
    return result.stdout + result.stderr


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def one_run(rur, env, until='"RUR 17.00 - výběr"'):
    begin = time.perf_counter()
    process = subprocess.Popen([rur], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    main_at = selection_at = None
    memory = 0.0
    try:
        while time.perf_counter() - begin < 30:
            tree = mapped_titles(env)
            now = time.perf_counter() - begin
            if main_at is None and '"RUR 17.00"' in tree:
                main_at = now
            if until in tree:
                selection_at = now
                memory = rss_mib(process.pid)
                break
            time.sleep(0.002)
    finally:
        process.kill()
        process.wait()
    if selection_at is None:
        raise SystemExit("rur did not show its windows within 30 s; windows:\n" + tree)
    return (main_at or selection_at) * 1000, selection_at * 1000, memory


def main():
    rur = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/rur")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory() as work:
        xvfb, display = start_xvfb(work)
        try:
            env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=work, XDG_RUNTIME_DIR=work,
                       XDG_DATA_HOME=os.path.join(work, "data"), XDG_CONFIG_HOME=os.path.join(work, "config"))
            # The very first start creates the data root and asks where the data lives.
            first = one_run(rur, env, '"Výběr práce s daty"')
            # Answered once, as a user does at the first start: later starts go to the selection.
            subprocess.run([os.path.join(os.path.dirname(rur), "rur-cli"), "data-choice", "--local"], env=env,
                           stdout=subprocess.DEVNULL, check=True)
            results = [one_run(rur, env) for _ in range(runs)]
        finally:
            xvfb.kill()
            xvfb.wait()
    main_ms = statistics.median(r[0] for r in results)
    selection_ms = statistics.median(r[1] for r in results)
    memory = statistics.median(r[2] for r in results)
    print(f"first start (creates the data root): main window {first[0]:.0f} ms, data choice {first[1]:.0f} ms, "
          f"{first[2]:.0f} MiB resident")
    print(f"start, median of {runs}: main window {main_ms:.0f} ms, selection {selection_ms:.0f} ms, "
          f"{memory:.0f} MiB resident")
    print("runs (main ms, selection ms, MiB): " + "; ".join(f"{a:.0f}, {b:.0f}, {c:.0f}" for a, b, c in results))


if __name__ == "__main__":
    main()
