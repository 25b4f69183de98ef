// A block of Windows global memory with a COM stream made on it: how picture bytes held in memory
// reach GDI+ as a stream, and how the bytes GDI+ writes into a stream come back.
//
// Opened on data, the block is fixed, exactly as long as the data, and the buffer frees it.
// Opened empty, the block is movable, grows as the stream is written, and the stream frees it.
// A picture decoded from the stream may read it as long as the picture lives: keep the buffer
// open until such a picture has been released.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class GlobalBuffer {
  public:
    GlobalBuffer() = default;
    ~GlobalBuffer();
    GlobalBuffer(const GlobalBuffer&) = delete;
    GlobalBuffer& operator=(const GlobalBuffer&) = delete;

    // Releases the stream and frees the block, each once. A buffer holding nothing is unchanged.
    void Free();
    // Opens empty: a growable block of size 0 and a stream on it. Null when it cannot be made.
    IStream* Open();
    // Opens on a copy of `data`, the stream positioned at its start. Null when it cannot be made.
    IStream* Open(const std::vector<std::uint8_t>& data);
    IStream* Stream() const { return stream_; }
    // The block's size as the system reports it; 0 without a block.
    std::size_t Size() const;
    // A copy of the whole block, whatever the stream's position; empty without a block.
    std::vector<std::uint8_t> GetBytes() const;

  private:
    HGLOBAL memoryBlock_ = nullptr;
    IStream* stream_ = nullptr;
    bool streamFreesBlock_ = false;
};
