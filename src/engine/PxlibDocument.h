#pragma once

// A pxlib document that frees everything pxlib allocated for it when it goes: pxlib keeps
// some of its allocations (the stream objects of files it did not open itself, the memo
// file's object) after PX_delete. Its error reports are dropped: pxlib reports as errors
// things it then goes on with, and its return values are what counts.

#include <unordered_set>

struct px_doc;

namespace rur::engine {

class PxlibDocument {
public:
    PxlibDocument();
    ~PxlibDocument();
    PxlibDocument(const PxlibDocument &) = delete;
    PxlibDocument &operator=(const PxlibDocument &) = delete;

    px_doc *get() const { return doc_; }
    // Frees a block pxlib handed out (a field's text, a memo).
    void release(void *block) const;

private:
    std::unordered_set<void *> blocks_;
    std::unordered_set<void *> *outerBlocks_ = nullptr;
    px_doc *doc_ = nullptr;
};

}  // namespace rur::engine
