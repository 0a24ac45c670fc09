// Fuzzes the project loader: any bytes either load or fail with the archive's
// error, never with a crash, a hang, another exception or undefined behaviour.
// A stream that loads is stored, loaded again and stored again: the two stores
// must be identical. What the views compute after a load runs as well.

#include "design/response_curves.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/archive.h"
#include "fw/ui.h"
#include "korin/base/kassert.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

// Nobody answers: messages vanish, questions get No.
class SilentUi : public fw::Ui {
public:
    void Message(const std::string& /*text*/, fw::Icon /*icon*/) override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    void SetStatusText(const std::string& /*text*/) override {}
    bool OpenWithAssociatedProgram(const std::string& /*path*/) override { return false; }
    std::optional<std::string> AskSavePath(const std::string& /*suggested*/,
                                           const std::string& /*filter*/) override {
        return std::nullopt;
    }

protected:
    fw::Answer DoAsk(const std::string& /*text*/, fw::Buttons /*buttons*/) override {
        return fw::Answer::No;
    }
};

// Contract reports of the numeric library are defined fallbacks, not findings.
void IgnoreAssert(const char* /*expression*/, const char* /*source*/, int /*line*/) {}

std::vector<std::uint8_t> Store(tarvo::CTarvoIirDoc& doc) {
    fw::Archive ar = fw::Archive::ForStoring();
    doc.Serialize(ar);
    return ar.TakeBuffer();
}

// What the plots and a pole-zero edit compute from a loaded project, kept small
// so that a large stored filter does not slow the run down.
void ComputeLikeTheViews(tarvo::CIirFilter& filter) {
    constexpr std::size_t kMaxRoots = 64;
    korin::mvect f;
    korin::mvect v;
    const double fs = filter.fs.GetValue();
    tarvo::ComputeResponse(filter, 0.0, fs / 2.0, 32, tarvo::kPlotMagnitude, f, v);
    tarvo::ComputeResponse(filter, 0.0, fs / 2.0, 32, tarvo::kPlotGroupDelay, f, v);
    (void)tarvo::ComputeTimeResponse(filter, 32);
    if (filter.z.size() == filter.p.size() && filter.z.size() <= kMaxRoots) {
        filter.RebuildFromRoots();
        filter.Renormalize();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentUi ui;
    static const bool quiet = (korin::SetAssertReporter(&IgnoreAssert), true);
    (void)quiet;

    tarvo::CTarvoIirDoc doc(ui);
    try {
        fw::Archive ar = fw::Archive::ForLoading(std::span<const std::uint8_t>(data, size));
        doc.Serialize(ar);
    } catch (const fw::ArchiveError&) {
        return 0;
    }

    const std::vector<std::uint8_t> first = Store(doc);
    tarvo::CTarvoIirDoc again(ui);
    fw::Archive ar = fw::Archive::ForLoading(first);
    again.Serialize(ar); // what this program wrote must load
    if (ar.Remaining() != 0 || Store(again) != first) std::abort();

    ComputeLikeTheViews(doc.GetFilter());
    return 0;
}
