#pragma once

#include "core/model/Store.h"

#include <QString>

namespace quillery::test {

// Every record of the book with every field (an attachment's bytes as their
// digest and size), one line each, sorted: two books with the same text hold
// the same records under the same ids.
QString bookText(const Store &store);

} // namespace quillery::test
