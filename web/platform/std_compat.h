// What the browser build's C++ library (libc++ 13) lacks of C++20.
#pragma once

#include <bit>
#include <cstring>
#include <type_traits>

#ifndef __cpp_lib_bit_cast
namespace std {

template <class To, class From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>)
To bit_cast(const From& from) noexcept
{
    To to;
    std::memcpy(&to, &from, sizeof(To));
    return to;
}

}  // namespace std
#endif
