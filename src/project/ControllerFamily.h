// The controller family of a project's "ControlDevice" text: what differs between a FANUC and an OSP
// machine outside the NC program's own lines (which ncgen's dialect tables hold). Every place that
// asks "is this an OSP" asks FamilyOf.
#pragma once

#include <string_view>

namespace talvorin {

enum class ControllerKind { kUnknown, kFanuc, kOsp };

struct ControllerFamily {
  ControllerKind kind;
  const char* name;            // "FANUC", "OSP"; "" for a controller of neither family
  const char* trycutTemplate;  // the TRYCUT control file template of the program folder
  // The machine works in G15 coordinate systems: a saved coordinate system must contain "G15H", and
  // the header's list offers the systems containing "G15" (the other families: those without it).
  bool g15Systems;
};

// "FANUC" when the text contains it, else "OSP" when it contains that, else the unknown family (which
// has no NC generator; TRYCUT then works with the FANUC template).
const ControllerFamily& FamilyOf(std::string_view controller);

}  // namespace talvorin
