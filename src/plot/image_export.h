#pragma once
// Saving a plot's picture as a file: the formats offered (PNG, SVG, PDF) with
// their file-dialog filters and extensions, which format a file name means,
// and the size rules of the picture. The widgets only show and read these.

#include "fw/field_exchange.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvo {

enum class ImageFormat { kPng, kSvg, kPdf };

struct ImageFormatInfo {
    ImageFormat format;
    std::string_view name;      // shown in the dialog's format list
    std::string_view filter;    // a file dialog's filter, "PNG Image (*.png)"
    std::string_view extension; // with its dot, lower case
};

// PNG, SVG, PDF, in the order the dialog lists them.
std::span<const ImageFormatInfo> ImageFormats();
const ImageFormatInfo& FormatInfo(ImageFormat format);

// Every format's filter joined by ";;" for a file dialog, first first.
std::string ImageFilters(ImageFormat first);
// The format of a filter as ImageFilters writes it; nothing for another text.
std::optional<ImageFormat> FormatFromFilter(std::string_view filter);
// The format named by the extension of path's file name, in any case; nothing
// when the name has no image extension.
std::optional<ImageFormat> FormatFromPath(std::string_view path);
// path with format's extension: an image extension of another format is
// replaced, a name without one gets it appended.
std::string WithImageExtension(std::string_view path, ImageFormat format);

// The file and format an entered name means: its own image extension decides,
// otherwise the chosen format's extension is appended. error is set (and the
// rest meaningless) when the text names no file.
struct ImageTarget {
    std::string path;
    ImageFormat format = ImageFormat::kPng;
    std::string error;
};
ImageTarget ResolveImageTarget(std::string_view entered, ImageFormat chosen);

// Width and height of a picture in pixels, which are its pixels for PNG, its
// size in CSS pixels for SVG and 1/96 inch for PDF.
struct ImageSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

inline constexpr int kMinImageSide = 16;
inline constexpr int kMaxImageSide = 20000;
// A PNG is drawn in memory first; beyond this it would take gigabytes.
inline constexpr std::int64_t kMaxImagePixels = 100'000'000;
// Used when the plot window has no size yet.
inline constexpr ImageSize kFallbackImageSize{800, 600};

// A typed width or height; what names it in the messages ("width").
fw::FieldValue<int> ReadImageSide(std::string_view text, std::string_view what);
// Why a picture of this size cannot be made in format; empty when it can.
std::string CheckImageSize(ImageSize size, ImageFormat format);
// The window's size as a picture size, brought into the allowed range.
ImageSize WindowImageSize(int width, int height);

// What the user asked for in the Save Image dialog.
struct ImageRequest {
    std::string path;
    ImageFormat format = ImageFormat::kPng;
    bool windowSize = true; // the plot window's size; otherwise size
    ImageSize size = kFallbackImageSize;
};

// The question before an existing file is replaced, the refusal of a file in
// a folder that does not exist, and the failure message.
std::string ReplaceImageQuestion(std::string_view path);
std::string MissingImageFolderMessage(std::string_view folder);
std::string CannotWriteImageMessage(std::string_view path, std::string_view reason);

} // namespace tarvo
