#pragma once

#include "cli/CliOptions.h"
#include "data/PassThroughNames.h"
#include "text/Utf8NameTranscoder.h"

namespace rw {

// How names appear in a CSV of the given encoding: UTF-8 text, or their own GBK bytes.
[[nodiscard]] inline const NameTranscoder& NamesFor(CsvEncoding encoding)
{
    static const Utf8NameTranscoder utf8;
    static const PassThroughNames gbk;
    if (encoding == CsvEncoding::Gbk) return gbk;
    return utf8;
}

} // namespace rw
