#include "export/export_path.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvo {
namespace {

struct SplitRow {
    std::string path, folder, name;
};

TEST(ExportPath, FolderAndFileNameAtEitherSeparator) {
    const SplitRow rows[] = {
        {"/home/ana/iir_filter.cpp", "/home/ana/", "iir_filter.cpp"},
        {"C:\\Users\\ana\\iir_filter.cpp", "C:\\Users\\ana\\", "iir_filter.cpp"},
        {"C:\\mixed/dir\\f.m", "C:\\mixed/dir\\", "f.m"},
        {"relative.txt", "", "relative.txt"},
        {"/ends/with/", "/ends/with/", ""},
        {"", "", ""},
    };
    for (const SplitRow& r : rows) {
        EXPECT_EQ(PathFolderPart(r.path), r.folder) << r.path;
        EXPECT_EQ(PathFileNamePart(r.path), r.name) << r.path;
        EXPECT_EQ(PathFolderPart(r.path) + PathFileNamePart(r.path), r.path);
    }
}

TEST(ExportPath, ExtensionReplacement) {
    EXPECT_EQ(ReplaceExtension("/a/iir_filter.cpp", ".h"), "/a/iir_filter.h");
    EXPECT_EQ(ReplaceExtension("/a/coeffs", ".h"), "/a/coeffs.h");
    EXPECT_EQ(ReplaceExtension("/a/low.pass.c", ".h"), "/a/low.pass.h");
    EXPECT_EQ(ReplaceExtension("/a.b/coeffs", ".h"), "/a.b/coeffs.h");
    EXPECT_EQ(ReplaceExtension("C:\\a.b\\coeffs", ".h"), "C:\\a.b\\coeffs.h");
    EXPECT_EQ(ReplaceExtension("name.", ".m"), "name.m");
    EXPECT_EQ(ReplaceExtension("", ".m"), ".m");
}

TEST(ExportPath, SourcePathsAndGuards) {
    EXPECT_TRUE(IsCSourcePath("x.c"));
    EXPECT_TRUE(IsCSourcePath("X.CPP"));
    EXPECT_TRUE(IsCSourcePath("/p/y.Cpp"));
    EXPECT_FALSE(IsCSourcePath("x.cc"));
    EXPECT_FALSE(IsCSourcePath("x.h"));
    EXPECT_FALSE(IsCSourcePath("c"));
    EXPECT_FALSE(IsCSourcePath("x.txt"));

    EXPECT_EQ(HeaderGuardName("iir_filter.h"), "_IIR_FILTER_H_");
    EXPECT_EQ(HeaderGuardName("Low.Pass.h"), "_LOW_PASS_H_");
    EXPECT_EQ(HeaderGuardName("my-filter 2.h"), "_MY_FILTER_2_H_");
    EXPECT_EQ(HeaderGuardName(".h"), "__H_");
}

TEST(ExportPath, Join) {
    EXPECT_EQ(JoinPath("/home/ana", "f.cpp"), "/home/ana/f.cpp");
    EXPECT_EQ(JoinPath("/home/ana/", "f.cpp"), "/home/ana/f.cpp");
    EXPECT_EQ(JoinPath("C:\\Docs\\", "f.cpp"), "C:\\Docs\\f.cpp");
    EXPECT_EQ(JoinPath("", "f.cpp"), "f.cpp");
}

} // namespace
} // namespace tarvo
