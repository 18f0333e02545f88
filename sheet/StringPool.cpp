#include "sheet/StringPool.h"

#include <cassert>
#include <cstring>

namespace rw {

void StringPool::Add(std::string_view text)
{
    assert(text.size() <= kBlockBytes);
    if (kBlockBytes - m_used < text.size()) {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
        m_used = 0;
    }
    char* at = text.empty() ? nullptr : m_blocks.back().get() + m_used;
    if (at) std::memcpy(at, text.data(), text.size());
    m_used += text.size();
    m_bytes += text.size();
    m_strings.emplace_back(at, text.size());
}

} // namespace rw
