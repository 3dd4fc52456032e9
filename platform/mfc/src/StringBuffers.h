// Internal: the registry of live CString buffers, so that the formatter can
// recognise a CString object handed to "%s" through "...".
#pragma once

namespace standin {
namespace detail {

void registerStringBuffer(const wchar_t* data);
void unregisterStringBuffer(const wchar_t* data);
bool isStringBuffer(const void* data);

}  // namespace detail
}  // namespace standin
