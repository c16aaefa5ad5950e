#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace doxel {

// LZX as help files store it, decoded one frame of at most 32 KB at a time.
// The frames of one reset interval are decoded in turn; `reset` starts the
// next interval afresh. Written for files from anyone: every length, offset
// and tree is checked, no read leaves the input or the window, and a frame
// costs time in proportion to its size whatever the input holds.
class LzxDecoder {
public:
    // The data does not decode as LZX; the text says where it went wrong.
    class Damaged : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // `windowBits` is 15 to 21 (a window of 32 KB to 2 MB); throws Damaged
    // for any other.
    explicit LzxDecoder(int windowBits);

    void reset();

    // Decodes the frame whose compressed bytes are `input` into `output`
    // (at most 32 KB; less only for the `last` frame of the data). Throws
    // Damaged.
    void decodeFrame(std::string_view input, std::uint8_t* output, std::size_t outputSize, bool last = false);

    // The Huffman code of one tree: lengths in, symbols out.
    class Tree {
    public:
        // False when the lengths make no complete prefix code (a tree of
        // lengths all 0 is allowed: it is never used).
        bool build(const std::uint8_t* lengths, std::size_t count);
        bool empty() const { return m_empty; }

    private:
        friend class LzxDecoder;
        static constexpr int kFastBits = 10;
        // For the first kFastBits bits: symbol + 1, and its length; 0 for a
        // longer code.
        std::vector<std::uint16_t> m_fastSymbol = std::vector<std::uint16_t>(1u << kFastBits);
        std::vector<std::uint8_t> m_fastLength = std::vector<std::uint8_t>(1u << kFastBits);
        std::uint16_t m_count[17] = {};
        std::vector<std::uint16_t> m_sorted;  // symbols by code length, then value
        bool m_empty = true;
    };

private:
    struct Bits;
    void readLengths(Bits& bits, std::uint8_t* lengths, std::size_t first, std::size_t last);
    void readBlockHeader(Bits& bits);

    std::uint32_t m_windowSize;
    std::uint32_t m_mainElements;
    std::vector<std::uint8_t> m_window;
    std::uint32_t m_windowPosition = 0;
    std::uint32_t m_repeated[3] = {1, 1, 1};
    bool m_headerRead = false;
    std::uint32_t m_intelFileSize = 0;
    std::uint32_t m_intelPosition = 0;
    bool m_intelStarted = false;
    std::uint32_t m_framesRead = 0;
    int m_blockType = 0;  // 0: none yet
    std::uint32_t m_blockLength = 0;
    std::uint32_t m_blockRemaining = 0;
    std::vector<std::uint8_t> m_mainLengths;
    std::vector<std::uint8_t> m_lengthLengths;
    std::uint8_t m_alignedLengths[8] = {};
    Tree m_main;
    Tree m_length;
    Tree m_aligned;
};

}  // namespace doxel
