#pragma once

// Pieces of the JSON the commands write for programs to read.

#include <string>
#include <string_view>

namespace rw {

// text as a JSON string, quotes included. Control characters (C0, DEL, C1) are escaped as
// \uXXXX, which gives them back exactly; bytes that are no UTF-8 cannot be JSON text at all
// and appear as the program shows them elsewhere: as the four characters \xNN.
void AppendJsonString(std::string& out, std::string_view text);

// "key": opening a member, with the comma before it unless it is the first.
void AppendJsonKey(std::string& out, std::string_view key, bool first = false);

void AppendJsonNumber(std::string& out, long long value);
void AppendJsonBool(std::string& out, bool value);

} // namespace rw
