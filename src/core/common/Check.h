#pragma once

// A programming error: a caller broke a rule no input can break (an id outside its
// table, a lookup before loading). Debug builds stop at once so tests catch it;
// release builds log it and let the caller go on with a safe fallback.
#include <QtGlobal>

#ifdef NDEBUG
#define TRV730_PROGRAMMING_ERROR(msg) qWarning("programming error: %s", msg)
#else
#define TRV730_PROGRAMMING_ERROR(msg) qFatal("programming error: %s", msg)
#endif
