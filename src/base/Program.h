#pragma once

#include <QString>

namespace rur::base {

inline constexpr int kProgramVersion = 1700;
inline constexpr int kProgramYear = 2018;

// "17.00": a point before the third character of the version.
QString versionText(int version = kProgramVersion);
// "RUR 17.00": the main window's caption.
QString applicationTitle();
// The program year without its second digit: 2018 gives 218.
QString yearCode(int year = kProgramYear);

}  // namespace rur::base
