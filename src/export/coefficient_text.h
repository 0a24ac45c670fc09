#pragma once
// The coefficient text: what the coefficient view shows and `tarvoiir-cli show`
// prints. The writer renders the file a coefficient-view export would write, so
// the text is produced through a file in a private temporary folder.

#include <string>
#include <string_view>

namespace fw {
class Ui;
}

namespace tarvo {

class CIirFileFormat;
class CIirFilter;

// Shown in place of the text when the temporary file could not be made,
// written or read back.
inline constexpr std::string_view kTemporaryFileFailure = "Temporary data file cannot be written.";

struct CoefficientTextResult {
    bool ok = false;
    // The coefficient text, or kTemporaryFileFailure.
    std::string text;
};

// Writes filter in format to a fresh folder of its own under the temporary
// directory and returns the file's bytes up to the first zero byte; the folder
// is removed afterwards. format itself is left as it is (its stored path too):
// the writer works on a copy. The writer's own messages go to ui. An empty
// filter writes nothing and fails.
CoefficientTextResult CoefficientText(const CIirFileFormat& format, CIirFilter& filter, fw::Ui& ui);

} // namespace tarvo
