#pragma once

#include "base/DateTime.h"

#include <string>

// Template preparation: turns the fields of a template into the engine's
// markers before any data is read.
namespace nkp::report {

struct PreparedTemplate {
    bool rtf = false;  // the template begins with "{\rtf"
    std::string text;  // fields replaced by values, field markers and group markers
};

// Thrown for a delimiter without its closing partner.
struct TemplateStructureError { };

// Sets the kind, turns "\fcharset0" into "\fcharset204" and replaces every
// field: "##", the delimiter change "#@...#", "#FONT=...#", DATE, TIME, EOP,
// group fields (removing the RTF text after them) and named fields.
// The engine's marker bytes must already be gone from `text`.
PreparedTemplate prepareTemplate(std::string text, const base::DateTime& now);

}  // namespace nkp::report
