// What the roster answered when a window was offered to it. Beside the detector's verdicts,
// these name why a window that may be previewed got no preview.
#pragma once

#include <cstdint>

enum class Admission {
  Admitted,
  Layered,       // the window draws itself translucent: no preview of it
  OverLimit,     // LIMIT previews shown already
  Excluded,      // a rule matches it (the rule's index goes with it)
  AlreadyShown,  // it has its preview
  NoCell,        // the grid has no free cell (fewer cells than LIMIT)
  NoPreview,     // its preview could not be made, or lost its place meanwhile
};

// The words the diagnostic log uses for a refusal.
constexpr const char* admissionText(Admission admission) {
  switch (admission) {
    case Admission::Admitted:
      return "admitted";
    case Admission::Layered:
      return "layered";
    case Admission::OverLimit:
      return "over the limit";
    case Admission::Excluded:
      return "excluded";
    case Admission::AlreadyShown:
      return "already shown";
    case Admission::NoCell:
      return "no free cell";
    case Admission::NoPreview:
      return "no preview";
  }
  return "?";
}
