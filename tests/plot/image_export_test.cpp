#include "plot/image_export.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using F = ImageFormat;

TEST(ImageExport, FiltersNameEachFormatOnceWithTheChosenFirst) {
    EXPECT_EQ(ImageFilters(F::kPng),
              "PNG Image (*.png);;SVG Drawing (*.svg);;PDF Document (*.pdf)");
    EXPECT_EQ(ImageFilters(F::kPdf),
              "PDF Document (*.pdf);;PNG Image (*.png);;SVG Drawing (*.svg)");
    for (const ImageFormatInfo& info : ImageFormats()) {
        EXPECT_EQ(FormatFromFilter(info.filter), info.format) << info.filter;
        EXPECT_EQ(&FormatInfo(info.format), &info);
        // The filter's pattern is the extension the format appends.
        EXPECT_NE(info.filter.find("(*" + std::string(info.extension) + ")"), std::string::npos);
        EXPECT_EQ(FormatFromPath("a" + std::string(info.extension)), info.format);
    }
    EXPECT_EQ(FormatFromFilter("All Files (*)"), std::nullopt);
    EXPECT_EQ(FormatFromFilter(""), std::nullopt);
}

struct PathCase {
    const char* path;
    std::optional<F> own;    // the format the name's extension says
    const char* asSvg;       // WithImageExtension(path, SVG)
    const char* resolvedPdf; // the file meant when PDF is chosen; "" when refused
};

TEST(ImageExport, FormatAndExtensionOfAFileName) {
    const std::vector<PathCase> cases{
        {"plot.png", F::kPng, "plot.svg", "plot.png"},
        {"/home/u/Plot.PNG", F::kPng, "/home/u/Plot.svg", "/home/u/Plot.PNG"},
        {"plot.Svg", F::kSvg, "plot.svg", "plot.Svg"},
        {"plot.pdf", F::kPdf, "plot.svg", "plot.pdf"},
        {"plot", std::nullopt, "plot.svg", "plot.pdf"},
        {"plot.txt", std::nullopt, "plot.txt.svg", "plot.txt.pdf"},
        {"plot.png.txt", std::nullopt, "plot.png.txt.svg", "plot.png.txt.pdf"},
        {"v1.2/plot", std::nullopt, "v1.2/plot.svg", "v1.2/plot.pdf"},
        {"dir.png/plot", std::nullopt, "dir.png/plot.svg", "dir.png/plot.pdf"},
        // A leading dot makes a hidden file, not an extension.
        {"/tmp/.png", std::nullopt, "/tmp/.png.svg", "/tmp/.png.pdf"},
        {"plot.pngx", std::nullopt, "plot.pngx.svg", "plot.pngx.pdf"},
        {" plot ", std::nullopt, " plot .svg", " plot .pdf"},
        {"", std::nullopt, ".svg", ""},
        {"   ", std::nullopt, "   .svg", ""},
        {"/home/u/", std::nullopt, "/home/u/.svg", ""},
        {"/home/u/..", std::nullopt, "/home/u/...svg", ""},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(FormatFromPath(c.path), c.own) << c.path;
        EXPECT_EQ(WithImageExtension(c.path, F::kSvg), c.asSvg) << c.path;
        const ImageTarget target = ResolveImageTarget(c.path, F::kPdf);
        if (*c.resolvedPdf == '\0') {
            EXPECT_EQ(target.error, "Please enter a file name.") << c.path;
            continue;
        }
        EXPECT_EQ(target.error, "") << c.path;
        EXPECT_EQ(target.path, c.resolvedPdf) << c.path;
        EXPECT_EQ(target.format, c.own.value_or(F::kPdf)) << c.path;
    }
}

struct SideCase {
    const char* text;
    std::optional<int> value;
    const char* message;
};

TEST(ImageExport, TypedSidesAreWholePixelsInRange) {
    const char* const notWhole = "Please enter the width as a whole number of pixels.";
    const char* const outside = "The width must be between 16 and 20000 pixels.";
    const std::vector<SideCase> cases{
        {"16", 16, ""},        {"20000", 20000, ""},    {" 640 ", 640, ""},
        {"+800", 800, ""},     {"15", {}, outside},     {"20001", {}, outside},
        {"0", {}, outside},    {"-640", {}, outside},   {"99999999999999999999", {}, outside},
        {"-1e9", {}, outside}, {"640.5", {}, notWhole}, {"1e3", {}, notWhole},
        {"", {}, notWhole},    {"abc", {}, notWhole},   {"64 0", {}, notWhole},
    };
    for (const SideCase& c : cases) {
        const fw::FieldValue<int> field = ReadImageSide(c.text, "width");
        EXPECT_EQ(field.value, c.value) << c.text;
        EXPECT_EQ(field.message, c.message) << c.text;
    }
    EXPECT_EQ(ReadImageSide("5", "height").message,
              "The height must be between 16 and 20000 pixels.");
}

struct SizeCase {
    ImageSize size;
    F format;
    bool ok;
};

TEST(ImageExport, SizeLimitsAndTheRasterBudget) {
    const std::vector<SizeCase> cases{
        {{16, 16}, F::kPng, true},        {{10000, 10000}, F::kPng, true},
        {{10000, 10001}, F::kPng, false}, {{20000, 20000}, F::kPng, false},
        {{20000, 20000}, F::kSvg, true},  {{20000, 20000}, F::kPdf, true},
        {{15, 400}, F::kSvg, false},      {{400, 20001}, F::kPdf, false},
        {{0, 0}, F::kPng, false},
    };
    for (const SizeCase& c : cases) {
        const std::string problem = CheckImageSize(c.size, c.format);
        EXPECT_EQ(problem.empty(), c.ok) << c.size.width << "x" << c.size.height;
    }
    EXPECT_EQ(CheckImageSize({20000, 20000}, F::kPng),
              "A PNG image of 20000 x 20000 pixels is too large; keep it to 100 million pixels or "
              "save it as SVG or PDF.");
}

TEST(ImageExport, WindowSizeIsBroughtIntoRange) {
    const std::vector<std::pair<std::pair<int, int>, ImageSize>> cases{
        {{800, 500}, {800, 500}},       {{10, 500}, {16, 500}},          {{30000, 40}, {20000, 40}},
        {{0, 500}, kFallbackImageSize}, {{640, -1}, kFallbackImageSize},
    };
    for (const auto& [window, expected] : cases) {
        EXPECT_EQ(WindowImageSize(window.first, window.second), expected) << window.first;
        EXPECT_EQ(CheckImageSize(expected, F::kPng), "");
    }
}

TEST(ImageExport, Messages) {
    EXPECT_EQ(ReplaceImageQuestion("/tmp/a.png"),
              "\"/tmp/a.png\" already exists.\nDo you want to replace it?");
    EXPECT_EQ(CannotWriteImageMessage("/tmp/a.png", "Permission denied"),
              "Cannot write \"/tmp/a.png\".\nPermission denied");
    EXPECT_EQ(CannotWriteImageMessage("a.png", ""), "Cannot write \"a.png\".");
    EXPECT_EQ(MissingImageFolderMessage("/no/such"), "The folder \"/no/such\" does not exist.");
}

} // namespace
} // namespace tarvo
