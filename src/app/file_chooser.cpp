#include "app/file_chooser.h"

#include <QFileDialog>

namespace tarvo {
namespace {

QString Filters(const std::string& filter) {
    QString filters = QString::fromStdString(filter);
    if (!filters.isEmpty()) filters += ";;";
    return filters + QStringLiteral("All Files (*)");
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

} // namespace

std::optional<std::string> DialogFileChooser::OpenPath(QWidget* parent, const std::string& filter,
                                                       const std::string& folder) {
    return Chosen(QFileDialog::getOpenFileName(parent, QStringLiteral("Open Project"),
                                               QString::fromStdString(folder), Filters(filter)));
}

std::optional<std::string> DialogFileChooser::SavePath(QWidget* parent,
                                                       const std::string& suggested,
                                                       const std::string& filter) {
    return Chosen(QFileDialog::getSaveFileName(parent, QStringLiteral("Save As"),
                                               QString::fromStdString(suggested), Filters(filter)));
}

} // namespace tarvo
