#pragma once
// "Estimate Order": the response, the passband and stopband edges, the ripple
// and the attenuation a filter must meet; the dialog shows the smallest order
// of each family as the numbers are typed, and Use hands back the request and
// the family chosen, for the design form to take.

#include "design/estimate_form.h"
#include "doc/project_dialogs.h"

#include <array>
#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvo {

class OrderEstimateDialog : public QDialog {
    Q_OBJECT

public:
    OrderEstimateDialog(const OrderRequest& initial, std::int32_t family, const CFs& fs,
                        QWidget* parent = nullptr);

    // The request and family as the dialog shows them now; nothing while a
    // field does not read or the chosen family has no usable order.
    std::optional<OrderChoice> Choice() const;
    // The message under the table ("" when the estimate stands).
    QString Message() const;

    QComboBox* Response() const { return response_; }
    QLineEdit* Field(std::int32_t field) const { return fields_[static_cast<std::size_t>(field)]; }
    QPushButton* UseButton() const { return use_; }
    QButtonGroup* Families() const { return families_; }
    QLabel* OrderLabel(std::int32_t family) const {
        return orders_[static_cast<std::size_t>(family)];
    }
    QLabel* EdgesLabel(std::int32_t family) const {
        return edges_[static_cast<std::size_t>(family)];
    }

private:
    // Reads the fields and shows the three families' answers.
    void Estimate();

    double fs_;
    std::string unit_;
    QComboBox* response_ = nullptr;
    std::array<QLineEdit*, kEstimateFieldCount> fields_{};
    std::array<QLabel*, kEstimateFieldCount> units_{};
    std::array<QLabel*, 3> orders_{};
    std::array<QLabel*, 3> edges_{};
    QButtonGroup* families_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* use_ = nullptr;
    std::optional<OrderRequest> request_;
    OrderEstimate estimate_;
};

} // namespace tarvo
