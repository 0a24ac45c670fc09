#include "plot/image_export.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tarvo {
namespace {

constexpr std::array<ImageFormatInfo, 3> kFormats{{
    {ImageFormat::kPng, "PNG image", "PNG Image (*.png)", ".png"},
    {ImageFormat::kSvg, "SVG drawing", "SVG Drawing (*.svg)", ".svg"},
    {ImageFormat::kPdf, "PDF document", "PDF Document (*.pdf)", ".pdf"},
}};

// Where the file name starts: after the last slash.
std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// The extension of the file name, dot included; a name starting with its only
// dot (".png") is a hidden file without one.
std::string_view ExtensionOf(std::string_view path) {
    const std::string_view name = path.substr(NameStart(path));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const ImageFormatInfo> ImageFormats() {
    return kFormats;
}

const ImageFormatInfo& FormatInfo(ImageFormat format) {
    for (const ImageFormatInfo& info : kFormats)
        if (info.format == format) return info;
    return kFormats.front();
}

std::string ImageFilters(ImageFormat first) {
    std::string filters(FormatInfo(first).filter);
    for (const ImageFormatInfo& info : kFormats) {
        if (info.format == first) continue;
        filters += ";;";
        filters += info.filter;
    }
    return filters;
}

std::optional<ImageFormat> FormatFromFilter(std::string_view filter) {
    for (const ImageFormatInfo& info : kFormats)
        if (info.filter == filter) return info.format;
    return std::nullopt;
}

std::optional<ImageFormat> FormatFromPath(std::string_view path) {
    const std::string_view extension = ExtensionOf(path);
    for (const ImageFormatInfo& info : kFormats)
        if (EqualNoCase(extension, info.extension)) return info.format;
    return std::nullopt;
}

std::string WithImageExtension(std::string_view path, ImageFormat format) {
    std::string out(path);
    if (FormatFromPath(path)) out.resize(out.size() - ExtensionOf(path).size());
    out += FormatInfo(format).extension;
    return out;
}

ImageTarget ResolveImageTarget(std::string_view entered, ImageFormat chosen) {
    ImageTarget target;
    const std::string_view name = entered.substr(NameStart(entered));
    const bool blank = std::all_of(name.begin(), name.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) != 0;
    });
    if (blank || name == "." || name == "..") {
        target.error = "Please enter a file name.";
        return target;
    }
    if (const std::optional<ImageFormat> own = FormatFromPath(entered)) {
        target.path = std::string(entered);
        target.format = *own;
    } else {
        target.path = std::string(entered) + std::string(FormatInfo(chosen).extension);
        target.format = chosen;
    }
    return target;
}

fw::FieldValue<int> ReadImageSide(std::string_view text, std::string_view what) {
    fw::FieldValue<int> field;
    const std::optional<std::int64_t> value = fw::ParseInteger(text);
    // A number too large for an integer is still a number outside the range.
    const std::optional<double> number = value ? std::nullopt : fw::ParseDouble(text);
    const bool outside = value ? (*value < kMinImageSide || *value > kMaxImageSide)
                               : (number && (*number < kMinImageSide || *number > kMaxImageSide));
    if (outside) {
        field.message = "The " + std::string(what) + " must be between " +
                        std::to_string(kMinImageSide) + " and " + std::to_string(kMaxImageSide) +
                        " pixels.";
    } else if (!value) {
        field.message = "Please enter the " + std::string(what) + " as a whole number of pixels.";
    } else {
        field.value = static_cast<int>(*value);
    }
    return field;
}

std::string CheckImageSize(ImageSize size, ImageFormat format) {
    const auto inRange = [](int side) { return side >= kMinImageSide && side <= kMaxImageSide; };
    if (!inRange(size.width) || !inRange(size.height)) {
        return "The picture must be between " + std::to_string(kMinImageSide) + " and " +
               std::to_string(kMaxImageSide) + " pixels wide and high.";
    }
    const std::int64_t pixels = std::int64_t{size.width} * size.height;
    if (format == ImageFormat::kPng && pixels > kMaxImagePixels) {
        return "A PNG image of " + std::to_string(size.width) + " x " +
               std::to_string(size.height) + " pixels is too large; keep it to " +
               std::to_string(kMaxImagePixels / 1'000'000) +
               " million pixels or save it as SVG or PDF.";
    }
    return {};
}

ImageSize WindowImageSize(int width, int height) {
    if (width <= 0 || height <= 0) return kFallbackImageSize;
    return {std::clamp(width, kMinImageSide, kMaxImageSide),
            std::clamp(height, kMinImageSide, kMaxImageSide)};
}

std::string ReplaceImageQuestion(std::string_view path) {
    return "\"" + std::string(path) + "\" already exists.\nDo you want to replace it?";
}

std::string MissingImageFolderMessage(std::string_view folder) {
    return "The folder \"" + std::string(folder) + "\" does not exist.";
}

std::string CannotWriteImageMessage(std::string_view path, std::string_view reason) {
    std::string message = "Cannot write \"" + std::string(path) + "\".";
    if (!reason.empty()) message += "\n" + std::string(reason);
    return message;
}

} // namespace tarvo
