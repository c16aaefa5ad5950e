#include "core/text_compare.h"

#include "core/text_encoding.h"

namespace doxel {

unsigned long foldCase(unsigned long c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs upper/lower on even/odd code points, except
        // for the stretch 0x139..0x148 and 0x179..0x17E that pair odd/even.
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddUpper)
            return (c % 2 == 1) ? c + 1 : c;
        return (c % 2 == 0) ? c + 1 : c;
    }
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return c + 32;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    return c;
}

int compareCaptions(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    int caseOrder = 0;  // decided by the first difference in case only
    while (i < a.size() && j < b.size()) {
        // ASCII, the common case, needs no decoding.
        const auto ba = static_cast<unsigned char>(a[i]);
        const auto bb = static_cast<unsigned char>(b[j]);
        if (ba < 0x80 && bb < 0x80) {
            ++i;
            ++j;
            if (ba == bb)
                continue;
            const unsigned char fa = (ba >= 'A' && ba <= 'Z') ? ba + 32 : ba;
            const unsigned char fb = (bb >= 'A' && bb <= 'Z') ? bb + 32 : bb;
            if (fa != fb)
                return fa < fb ? -1 : 1;
            if (caseOrder == 0)
                caseOrder = ba == fa ? -1 : 1;
            continue;
        }
        const long ca = decodeUtf8(a, i);
        const long cb = decodeUtf8(b, j);
        if (ca == cb)
            continue;
        const unsigned long fa = ca < 0 ? 0x110000 : foldCase(static_cast<unsigned long>(ca));
        const unsigned long fb = cb < 0 ? 0x110000 : foldCase(static_cast<unsigned long>(cb));
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (caseOrder == 0)
            caseOrder = (static_cast<unsigned long>(ca) == fa) ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return caseOrder;
}

}  // namespace doxel
