// Writes the fuzzer's seed corpus: project files as the program writes them
// (new, designed in every family, response and data type, with export
// entries), and the same project in the layouts of versions 18, 19 and 21.
// Usage: make_corpus FOLDER

#include "design/design_action.h"
#include "doc/filter_stream.h"
#include "doc/tarvo_iir_doc.h"
#include "export/export_formats.h"
#include "fw/archive.h"
#include "fw/file_io.h"
#include "fw/stderr_ui.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

using tarvo::CTarvoIirDoc;
using tarvo::IirDesignSpec;

bool Save(CTarvoIirDoc& doc, const std::string& folder, const std::string& name) {
    fw::Archive ar = fw::Archive::ForStoring();
    doc.Serialize(ar);
    const fw::FileResult r = fw::WriteFileAtomically(folder + "/" + name, ar.Buffer());
    if (!r) std::fprintf(stderr, "%s: %s\n", name.c_str(), r.error.c_str());
    return r.ok;
}

bool Design(CTarvoIirDoc& doc, const IirDesignSpec& form, double fs, int unit) {
    doc.GetFilter().fs = tarvo::CFs(fs);
    doc.GetFilter().fs.SetUnit(unit);
    if (!tarvo::RunDesign(doc.GetFilter(), form, doc.GetMinDb()).Designed()) return false;
    doc.OnFilterChanged(true, 0);
    return true;
}

void AddEntry(CTarvoIirDoc& doc, const std::string& name, std::int32_t format) {
    auto entry = std::make_unique<tarvo::CIirExportFileFormat>("/tmp/tarvo-corpus");
    entry->m_strFileName = name;
    entry->m_strPath = "/tmp/tarvo-corpus/" + name;
    entry->m_nFormat = format;
    entry->m_bZerosPoles = 1;
    entry->m_bImpulse = 1;
    entry->m_nImpulseLen = 32;
    entry->m_bNegateA = 1;
    entry->m_cOptions.m_strHeaderText = "// generated";
    doc.GetExportFiles().m_list.Append(std::move(entry));
}

// The project in the layout of an older or newer version: the same sections,
// the frequency as a float before 20, "Negate a1/a2" only from 19 on.
bool SaveAsVersion(CTarvoIirDoc& doc, std::uint16_t version, const std::string& folder,
                   const std::string& name) {
    fw::Archive ar = fw::Archive::ForStoring();
    ar.WriteU16(static_cast<std::uint16_t>((CTarvoIirDoc::kDocType << 8U) | version));
    tarvo::CIirFilter& f = doc.GetFilter();
    ar << f.b << f.a << f.z << f.p << f.k;
    ar.WriteCount(f.sos.Rows());
    for (std::size_t i = 0; i < f.sos.Rows(); ++i)
        ar << f.sos[i];
    ar << f.sos.gain;
    if (version < 20) {
        ar.WriteF32(static_cast<float>(f.fs.GetValue()));
    } else {
        ar.WriteF64(f.fs.GetValue());
    }
    ar.WriteString(f.fs.GetUnitPairText());
    tarvo::SerializeSpec(ar, f.spec);
    doc.GetFormat().Serialize(ar, version);
    doc.GetExportFiles().Serialize(ar, version);
    ar << doc.GetMinDb() << doc.GetTimeResponseLength();
    ar.WriteI32(doc.GetLayoutCount());
    for (std::int32_t i = 0; i < doc.GetLayoutCount(); ++i) {
        tarvo::LayoutRecord record = doc.GetLayout(i);
        record.Serialize(ar);
    }
    const fw::FileResult r = fw::WriteFileAtomically(folder + "/" + name, ar.Buffer());
    return r.ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    fw::StderrUi ui;
    bool ok = true;

    CTarvoIirDoc fresh(ui);
    ok = fresh.OnNewDocument() && Save(fresh, folder, "new.tvp") && ok;

    struct Case {
        const char* name;
        double edge1, edge2, fs;
        std::int32_t family, response, order, dataType, useBiquads, unit;
    };
    const Case cases[] = {
        {"butterworth_lowpass.tvp", 0.2, 0.3, 1.0, 0, 0, 4, 0, 1, 0},
        {"chebyshev_highpass_single.tvp", 3.0, 4.0, 44.1, 1, 1, 7, 1, 1, 1},
        {"elliptic_bandpass_fixed.tvp", 10.0, 14.0, 96.0, 2, 2, 5, 2, 1, 1},
        {"elliptic_bandstop_direct.tvp", 0.3, 0.4, 2.0, 2, 3, 3, 0, 0, 2},
    };
    for (const Case& c : cases) {
        CTarvoIirDoc doc(ui);
        IirDesignSpec form;
        form.family = c.family;
        form.response = c.response;
        form.order = c.order;
        form.dataType = c.dataType;
        form.fracBits = 15;
        form.useBiquads = c.useBiquads;
        form.edge1 = c.edge1;
        form.edge2 = c.edge2;
        ok = doc.OnNewDocument() && Design(doc, form, c.fs, c.unit) && Save(doc, folder, c.name) &&
             ok;
    }

    CTarvoIirDoc exports(ui);
    ok = exports.OnNewDocument() && ok;
    IirDesignSpec form;
    form.family = tarvo::kChebyshev;
    form.order = 6;
    ok = Design(exports, form, 8.0, 1) && ok;
    AddEntry(exports, "coeffs.cpp", tarvo::kFormatCpp);
    AddEntry(exports, "coeffs.m", tarvo::kFormatMatlab);
    AddEntry(exports, "coeffs.txt", tarvo::kFormatText);
    exports.GetFormat().m_nFormat = tarvo::kFormatC;
    exports.GetFormat().m_strFilterName = "caf\xC3\xA9";
    exports.SetTimeResponseLength(256);
    ok = Save(exports, folder, "with_exports.tvp") && ok;
    ok = SaveAsVersion(exports, 18, folder, "version18.tvp") && ok;
    ok = SaveAsVersion(exports, 19, folder, "version19.tvp") && ok;
    ok = SaveAsVersion(exports, 21, folder, "version21.tvp") && ok;
    return ok ? 0 : 1;
}
