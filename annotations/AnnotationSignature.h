#pragma once

#include "annotations/Annotation.h"

#include <QtGlobal>

namespace markvane {

// Mixes `value` into a running 64-bit hash; order matters.
quint64 hashMix(quint64 hash, quint64 value);
quint64 hashMix(quint64 hash, double value);

// A hash of everything that decides how an annotation looks (its id
// included, its fading aside): equal signatures mean equal drawings. Points
// are hashed by content, so a change made in place is seen too.
quint64 annotationSignature(const Annotation& annotation);

} // namespace markvane
