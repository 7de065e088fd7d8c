#include "engine/PxlibDocument.h"

#include "engine/Pxlib.h"

#include <cstdlib>

namespace rur::engine {

namespace {

// pxlib's allocation functions get no user data (the first one not even the document), so
// the blocks of the document made or used last on this thread are kept here; documents
// live on the stack, one inside the other at most.
thread_local std::unordered_set<void *> *currentBlocks = nullptr;

// Zeroed: pxlib's writer leaves fields of its header structure unset (the encryption among
// them), which would otherwise reach the file as whatever the memory held.
void *allocateBlock(pxdoc_t *, size_t size, const char *)
{
    void *p = std::calloc(1, size ? size : 1);  // pxlib takes a null result for a failure
    if (p && currentBlocks)
        currentBlocks->insert(p);
    return p;
}

void *reallocateBlock(pxdoc_t *, void *mem, size_t size, const char *)
{
    void *p = std::realloc(mem, size ? size : 1);
    if (p && currentBlocks) {
        if (mem)
            currentBlocks->erase(mem);
        currentBlocks->insert(p);
    }
    return p;
}

void freeBlock(pxdoc_t *, void *mem)
{
    if (!mem)
        return;
    if (currentBlocks)
        currentBlocks->erase(mem);
    std::free(mem);
}

void ignoreError(pxdoc_t *, int, const char *, void *) {}

}  // namespace

PxlibDocument::PxlibDocument() : outerBlocks_(currentBlocks)
{
    currentBlocks = &blocks_;
    doc_ = PX_new3(ignoreError, allocateBlock, reallocateBlock, freeBlock, nullptr);
}

PxlibDocument::~PxlibDocument()
{
    if (doc_)
        PX_delete(doc_);
    for (void *p : blocks_)
        std::free(p);
    currentBlocks = outerBlocks_;
}

void PxlibDocument::release(void *block) const
{
    freeBlock(doc_, block);
}

}  // namespace rur::engine
