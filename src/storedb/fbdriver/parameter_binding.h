#pragma once
// Values given for the "?" markers of a statement, laid into its input XSQLDA.
#include <functional>
#include <string>
#include <vector>

#include "dataset/value.h"
#include "sqlda.h"

namespace qor::fbdriver {

// Writes a text into a new blob and returns its id (for a blob marker given a text).
using BlobWriter = std::function<ISC_QUAD(const std::string&)>;

class ParameterBinding {
public:
    // Sets every marker of `input` from `values` (one per marker, in order). `described` holds
    // the markers as the statement described them. Each value is passed in its own type and
    // the server converts it to the marker's; a text marker gets a text made here (dates as
    // "yyyy/mm/dd"), a blob marker a blob. Throws std::runtime_error when the counts differ.
    void bind(Sqlda& input, const std::vector<XSQLVAR>& described,
              const std::vector<ds::Value>& values, const BlobWriter& writeBlob);

private:
    class MarkerWriter;
    // What a marker's variable points at: a fixed-size value or a text, and the null flag.
    struct Slot {
        alignas(8) unsigned char fixed[16];
        std::string text;
        short indicator = 0;
    };
    std::vector<Slot> slots_;
};

}  // namespace qor::fbdriver
