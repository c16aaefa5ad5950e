// Compresses the input as help files store it and decodes it with
// libmspack's LZX decoder, which must give back the same bytes. The first
// byte chooses a shape of data that stresses the coder (random, runs of one
// byte, long repeats, a repeat that ends right at a frame's end).
#include <mspack.h>
#include <sys/types.h>

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "compiler/lzx_encoder.h"

extern "C" {
struct lzxd_stream;
lzxd_stream* lzxd_init(mspack_system* system, mspack_file* input, mspack_file* output, int window_bits,
                       int reset_interval, int input_buffer_size, off_t output_length, char is_delta);
int lzxd_decompress(lzxd_stream* lzx, off_t out_bytes);
void lzxd_free(lzxd_stream* lzx);
}

namespace {

struct Memory {
    const std::string* in = nullptr;
    std::size_t at = 0;
    std::string* out = nullptr;
};

int readMemory(mspack_file* file, void* buffer, int bytes)
{
    auto* m = reinterpret_cast<Memory*>(file);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(bytes), m->in->size() - m->at);
    std::memcpy(buffer, m->in->data() + m->at, n);
    m->at += n;
    return static_cast<int>(n);
}
int writeMemory(mspack_file* file, void* buffer, int bytes)
{
    auto* m = reinterpret_cast<Memory*>(file);
    m->out->append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
    return bytes;
}
void* allocMemory(mspack_system*, size_t bytes)
{
    return std::malloc(bytes);
}
void freeMemory(void* p)
{
    std::free(p);
}
void copyMemory(void* from, void* to, size_t bytes)
{
    std::memmove(to, from, bytes);
}
void message(mspack_file*, const char*, ...)
{
}

std::string shaped(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 4) {
    case 1:  // runs of one byte
        return std::string(rest.size() * 37, rest.empty() ? 'a' : rest[0]);
    case 2: {  // long repeats of the input
        std::string text;
        while (text.size() < 150000 && !rest.empty())
            text += rest;
        return text;
    }
    case 3: {  // a frame whose end falls inside a repeat
        std::string text(0x8000 - 5, 'x');
        text += rest;
        text += rest;
        return text;
    }
    default:
        return rest;
    }
}

}  // namespace

// Decodes one stream of reset intervals of two frames each.
std::string lzxDecode(const std::string& compressed, std::size_t size)
{
    mspack_system system{};
    system.read = readMemory;
    system.write = writeMemory;
    system.alloc = allocMemory;
    system.free = freeMemory;
    system.copy = copyMemory;
    system.message = message;
    std::string out;
    Memory in{&compressed, 0, nullptr};
    Memory sink{nullptr, 0, &out};
    lzxd_stream* lzx = lzxd_init(&system, reinterpret_cast<mspack_file*>(&in), reinterpret_cast<mspack_file*>(&sink),
                                 16, 2, 4096, static_cast<off_t>(size), 0);
    if (lzx == nullptr)
        std::abort();
    const int error = lzxd_decompress(lzx, static_cast<off_t>(size));
    lzxd_free(lzx);
    if (error != MSPACK_ERR_OK)
        return "error " + std::to_string(error);
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = shaped(data, size);
    if (input.empty())
        return 0;
    std::string compressed;
    constexpr std::size_t interval = 2 * doxel::chm::kLzxFrameSize;
    for (std::size_t start = 0; start < input.size(); start += interval)
        compressed += doxel::chm::compressLzxInterval(std::string_view(input).substr(start, interval), 16).bytes;
    if (lzxDecode(compressed, input.size()) != input)
        std::abort();
    return 0;
}
