#include "frame/display_language.h"

#include <atomic>

namespace tb58::frame {
namespace {
// Relaxed ordering is enough: the language is one value with no data hanging
// off it, and a load running while it changes may use either value.
std::atomic<LANGID> current_language{kDefaultLanguage};
}  // namespace

LANGID CurrentLanguage() { return current_language.load(std::memory_order_relaxed); }

void SetCurrentLanguage(LANGID language) { current_language.store(language, std::memory_order_relaxed); }

}  // namespace tb58::frame
