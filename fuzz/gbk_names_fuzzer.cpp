// Names through the real GBK table: any bytes decode to well-formed UTF-8 that encodes back
// to the same bytes unless some were no text; any UTF-8 that encodes decodes back to itself;
// and the importer reads any text with UTF-8 names without harm.

#include "fuzz/FuzzCheck.h"
#include "csv/RowImporter.h"
#include "text/Utf8NameTranscoder.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace rw;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Utf8NameTranscoder names;

    std::string text;
    names.AppendText(input, text);
    std::string bytes;
    const bool encodes = names.AppendNameBytes(text, bytes);
    if (text.find("\xEF\xBF\xBD") == std::string::npos) Require(encodes && bytes == input);

    std::string gbk;
    if (names.AppendNameBytes(input, gbk)) {
        std::string back;
        names.AppendText(gbk, back);
        Require(back == input);
    }

    if (size > 0) {
        RowImporter importer(FileKindFromInt(data[0] % 3), names);
        importer.Consume(input.substr(1), true);
        Require(importer.Ok() || importer.Records().Count() == 0);
    }
    return 0;
}
