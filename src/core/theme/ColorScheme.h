#pragma once

namespace quillery {

// The two appearances every colour of the program has a variant for.
enum class ColorScheme { Light, Dark };

} // namespace quillery
