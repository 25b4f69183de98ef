#include "shellutil/global_buffer.h"

#include <cstring>
#include <new>

GlobalBuffer::~GlobalBuffer() { Free(); }

void GlobalBuffer::Free() {
    if (stream_ != nullptr) {
        stream_->Release();
        stream_ = nullptr;
        if (streamFreesBlock_) memoryBlock_ = nullptr;
    }
    if (memoryBlock_ != nullptr) {
        GlobalFree(memoryBlock_);
        memoryBlock_ = nullptr;
    }
    streamFreesBlock_ = false;
}

IStream* GlobalBuffer::Open() {
    Free();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
    if (block == nullptr) return nullptr;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || stream == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    memoryBlock_ = block;
    stream_ = stream;
    streamFreesBlock_ = true;
    return stream_;
}

IStream* GlobalBuffer::Open(const std::vector<std::uint8_t>& data) {
    Free();
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, data.size());
    if (block == nullptr) return nullptr;
    if (!data.empty()) {
        void* bytes = GlobalLock(block);
        if (bytes == nullptr) {
            GlobalFree(block);
            return nullptr;
        }
        std::memcpy(bytes, data.data(), data.size());
        GlobalUnlock(block);
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream)) || stream == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    memoryBlock_ = block;
    stream_ = stream;
    streamFreesBlock_ = false;
    // The system may give a block larger than asked (a block for no bytes has one byte here): the
    // stream, and with it the block, is cut to the data's length, so no stray byte is read.
    if (Size() != data.size()) {
        ULARGE_INTEGER length;
        length.QuadPart = data.size();
        stream_->SetSize(length);
        // Resizing may have given the stream another handle for the block.
        HGLOBAL resized = nullptr;
        if (SUCCEEDED(GetHGlobalFromStream(stream_, &resized)) && resized != nullptr) {
            memoryBlock_ = resized;
        }
    }
    return stream_;
}

std::size_t GlobalBuffer::Size() const {
    return memoryBlock_ == nullptr ? 0 : GlobalSize(memoryBlock_);
}

std::vector<std::uint8_t> GlobalBuffer::GetBytes() const {
    const std::size_t size = Size();
    if (size == 0) return {};
    std::vector<std::uint8_t> copy;
    try {
        copy.resize(size);
    } catch (const std::bad_alloc&) {
        return {};  // a block too large to copy gives no bytes rather than an exception
    }
    const void* bytes = GlobalLock(memoryBlock_);
    if (bytes == nullptr) return {};
    std::memcpy(copy.data(), bytes, size);
    GlobalUnlock(memoryBlock_);
    return copy;
}
