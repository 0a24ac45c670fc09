// The design form through its real widgets: the order of Design's checks, a
// passing design, Automatic, fields that do not read, the store-time capture,
// the centre/width box and the project's keys in a field.

#include "design/design_action.h"
#include "design/iir_filter.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "fw/command_ids.h"
#include "fw/frame.h"
#include "fw/recording_ui.h"
#include "views/design_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FormFrame : public fw::Frame {};

class DesignFormTest : public ::testing::Test {
protected:
    DesignFormTest() {
        editor = &static_cast<CIirEditor&>(frame.AddView(std::make_unique<CIirEditor>(), &doc));
        EXPECT_TRUE(doc.OnNewDocument());
        form = editor->Form();
        form->automatic->setChecked(false);
    }
    void Type(QLineEdit* edit, const char* text) { edit->setText(QString::fromLatin1(text)); }
    void Choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
    FormFrame frame;
    CIirEditor* editor = nullptr;
    DesignFormWidget* form = nullptr;
};

struct CheckRow {
    const char* name;
    int order;
    const char* edge1;
    const char* edge2;
    int response;
    bool centerWidth;
    const char* gain;
    const char* message;
};

TEST_F(DesignFormTest, DesignStopsAtTheFirstFailingCheckAndRecordsNothing) {
    const CheckRow rows[] = {
        {"order", 0, "0.2", "0.3", kLowpass, false, "0", "Order must be greater than zero."},
        {"gain", 4, "0.2", "0.3", kLowpass, false, "-130",
         "Gain must be greater than the project's minimum dB value."},
        {"positive", 4, "0.2", "0", kLowpass, false, "0",
         "All parameters must be greater than zero."},
        {"half", 4, "0.5", "0.3", kLowpass, false, "0",
         "The first band edge frequency must be less than half the sampling frequency."},
        {"width", 4, "0.2", "0.5", kBandpass, true, "0",
         "The frequency width must be greater\nthan zero and less than Fs/2."},
        {"low", 4, "0.1", "0.2", kBandpass, true, "0",
         "The center frequency minus half the width must\nbe greater than zero and less than "
         "Fs/2."},
        {"high", 4, "0.4", "0.2", kBandpass, true, "0",
         "The center frequency plus half the\nwidth must be less than Fs/2."},
        {"edges", 4, "0.2", "0.6", kBandstop, false, "0",
         "All frequencies must be greater than zero and less than Fs/2."},
    };
    for (const CheckRow& r : rows) {
        SCOPED_TRACE(r.name);
        ui.ClearCalls();
        form->order->setValue(r.order);
        Type(form->edge1, r.edge1);
        Type(form->edge2, r.edge2);
        form->response->setCurrentIndex(r.response);
        form->centerWidth->setChecked(r.centerWidth);
        Type(form->gain, r.gain);
        form->design->click();
        EXPECT_THAT(ui.Messages(), ElementsAre(r.message));
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.UndoCount(), 1u);
        EXPECT_FALSE(doc.IsDesigned());
    }
}

TEST_F(DesignFormTest, APassingDesignTakesTheTypedValuesAsOneUndoStep) {
    Choose(form->family, kElliptic);
    form->order->setValue(6);
    Type(form->edge1, "0.125");
    Type(form->ripple, "0.5");
    Type(form->attenuation, "60");
    form->design->click();
    EXPECT_THAT(ui.Messages(), IsEmpty());
    ASSERT_TRUE(doc.IsDesigned());
    EXPECT_EQ(doc.GetFilter().spec.family, kElliptic);
    EXPECT_EQ(doc.GetFilter().spec.order, 6);
    EXPECT_EQ(doc.GetFilter().spec.edge1, 0.125);
    EXPECT_EQ(doc.GetFilter().spec.attenDb, 60.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), 2u);
    // Return in a field designs as well.
    Type(form->edge1, "0.1");
    emit form->edge1->returnPressed();
    EXPECT_EQ(doc.GetFilter().spec.edge1, 0.1);
    EXPECT_EQ(doc.UndoCount(), 3u);
    // And Return on a list or a box of the form.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form->family, &enter);
    EXPECT_EQ(doc.UndoCount(), 4u);
}

TEST_F(DesignFormTest, AnUnstableQuantizedDesignIsKeptWithOneWarning) {
    Type(form->edge1, "0.002");
    Choose(form->dataType, kFixedPoint);
    Type(form->fracBits, "8");
    form->design->click();
    EXPECT_TRUE(doc.IsDesigned());
    EXPECT_THAT(ui.Messages(), ElementsAre(kUnstableQuantizedWarning));
}

TEST_F(DesignFormTest, AutomaticDesignsOncePerStepAndNeverOnUndo) {
    form->automatic->setChecked(true);
    form->order->stepBy(1);
    EXPECT_EQ(doc.GetFilter().spec.order, 5);
    EXPECT_EQ(doc.UndoCount(), 2u);
    form->order->stepBy(1);
    EXPECT_EQ(doc.UndoCount(), 3u);
    // Undo refills the form, which must not design again and wipe the redo.
    ASSERT_TRUE(doc.OnCommand(fw::kIdEditUndo));
    EXPECT_EQ(form->order->value(), 5);
    EXPECT_EQ(doc.RedoCount(), 1u);
    EXPECT_EQ(doc.UndoCount(), 2u);
    // Down to 0 refuses at once.
    form->order->setValue(1);
    form->order->stepBy(-1);
    EXPECT_THAT(ui.Messages(), ElementsAre("Order must be greater than zero."));
    // Without Automatic an arrow only changes the field.
    form->automatic->setChecked(false);
    form->order->stepBy(3);
    EXPECT_EQ(doc.UndoCount(), 2u);
}

TEST_F(DesignFormTest, AFieldThatDoesNotReadStopsDesignThereWithTheFieldSelected) {
    for (QLineEdit* edit :
         {form->edge1, form->ripple, form->edge2, form->attenuation, form->gain}) {
        for (const char* text : {"abc", "", "nan", "inf", "1,5"}) {
            SCOPED_TRACE(edit->objectName().toStdString() + " " + text);
            ui.ClearCalls();
            const QString kept = edit->text();
            Type(edit, text);
            form->design->click();
            EXPECT_THAT(ui.Messages(), ElementsAre("Please enter a number."));
            EXPECT_FALSE(doc.IsDesigned());
            EXPECT_EQ(edit->selectedText(), edit->text());
            Type(edit, kept.toLatin1().constData());
        }
    }
    ui.ClearCalls();
    Choose(form->dataType, kFixedPoint);
    Type(form->fracBits, "2000");
    form->design->click();
    EXPECT_THAT(ui.Messages(), ElementsAre("Please enter a number between 0 and 1023."));
}

TEST_F(DesignFormTest, StoringTakesWhatTheFormShowsSilently) {
    Type(form->edge1, "0.15");
    Type(form->gain, "oops");
    doc.UpdateAllViews(nullptr, hint::kAboutToStore, &doc.GetFilter());
    EXPECT_EQ(doc.GetFilter().spec.edge1, 0.15);
    EXPECT_EQ(doc.GetFilter().spec.gainDb, 0.0);
    EXPECT_THAT(ui.Calls(), IsEmpty());
}

TEST_F(DesignFormTest, TheCenterWidthBoxConvertsAndRelabels) {
    Choose(form->response, kBandpass);
    Type(form->edge1, "0.1");
    Type(form->edge2, "0.3");
    form->centerWidth->click();
    EXPECT_EQ(form->edge1->text(), "0.2");
    EXPECT_EQ(form->edge2->text(), "0.2");
    EXPECT_EQ(form->edge1Label->text(), "Center");
    EXPECT_EQ(form->edge2Label->text(), "Width");
    form->centerWidth->click();
    EXPECT_EQ(form->edge1->text(), "0.1");
    EXPECT_EQ(form->edge2->text(), "0.3");
    // A lowpass with the box set: no conversion on a response change, only labels.
    form->centerWidth->click();
    Choose(form->response, kLowpass);
    EXPECT_EQ(form->edge1Label->text(), "Cutoff 1");
    EXPECT_FALSE(form->edge2->isEnabled());
    EXPECT_EQ(form->edge1->text(), "0.2");
    EXPECT_EQ(doc.UndoCount(), 1u);
}

TEST_F(DesignFormTest, UndoAndRedoKeysInAFieldAreLeftToTheProject) {
    for (const QKeySequence& keys :
         {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Ctrl+Y")),
          QKeySequence(QStringLiteral("Alt+Backspace"))}) {
        const QKeyCombination k = keys[0];
        QKeyEvent override(QEvent::ShortcutOverride, k.key(), k.keyboardModifiers());
        override.setAccepted(false);
        QApplication::sendEvent(form->gain, &override);
        EXPECT_FALSE(override.isAccepted()) << keys.toString().toStdString();
    }
    QKeyEvent copy(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    copy.setAccepted(false);
    QApplication::sendEvent(form->gain, &copy);
    EXPECT_TRUE(copy.isAccepted());
}

} // namespace
} // namespace tarvo
