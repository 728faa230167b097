// What differs between the platform's own services and this folder's.
#pragma once

namespace tb58::platform {

// Whether a resource lookup for a language without resources substitutes
// another language.  Windows finds a resource of an explicitly named language
// only in that language (or the neutral one); the platform layer elsewhere
// substitutes the same primary language, then English.
#ifdef _WIN32
inline constexpr bool kSubstitutesResourceLanguage = false;
#else
inline constexpr bool kSubstitutesResourceLanguage = true;
#endif

}  // namespace tb58::platform
