#pragma once
// A text with fields, as a translation may order them: "%1" to "%9" stand for the values
// given, "%%" for a percent sign; any other "%" stays as it is.
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

std::wstring FillFields(std::wstring_view pattern, const std::vector<std::wstring>& values);

} // namespace glimro
