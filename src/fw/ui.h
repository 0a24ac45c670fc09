#pragma once
// What the headless core asks of the user interface: message boxes, questions,
// the wait cursor, status text, and opening a file with its associated program.
// The desktop program, the command-line tool and the tests each implement it.

#include <optional>
#include <string>

namespace fw {

enum class Icon { Stop, Error, Information, Question, Warning };

enum class Buttons { YesNo, YesNoCancel };

enum class Answer { Yes, No, Cancel };

class Ui {
public:
    Ui() = default;
    Ui(const Ui&) = delete;
    Ui& operator=(const Ui&) = delete;
    virtual ~Ui() = default;

    // A modal message with one OK button.
    virtual void Message(const std::string& text, Icon icon) = 0;
    // A modal question; Cancel only comes back with Buttons::YesNoCancel.
    Answer Ask(const std::string& text, Buttons buttons = Buttons::YesNo) {
        return DoAsk(text, buttons);
    }

    // The wait cursor; calls nest, the cursor returns after the last EndBusy.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;

    // Text of the main window's status bar.
    virtual void SetStatusText(const std::string& text) = 0;
    // A status that stays until replaced, beside the passing texts above (the
    // figures of the last design); by default just a status text.
    virtual void SetLastingStatus(const std::string& text) { SetStatusText(text); }

    // Opens path with the program the desktop associates with its type; false
    // when that could not be started.
    virtual bool OpenWithAssociatedProgram(const std::string& path) = 0;

    // Asks for the name of a file to save to, suggesting one; filter is a
    // description such as "TarvoIIR Project Files (*.tvp)". Nothing on cancel.
    virtual std::optional<std::string> AskSavePath(const std::string& suggested,
                                                   const std::string& filter) = 0;

protected:
    // Implementations answer here; an answer outside the buttons shown counts as No.
    virtual Answer DoAsk(const std::string& text, Buttons buttons) = 0;
};

// Shows the wait cursor for its lifetime.
class BusyGuard {
public:
    explicit BusyGuard(Ui& ui) : ui_(ui) { ui_.BeginBusy(); }
    ~BusyGuard() { ui_.EndBusy(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    Ui& ui_;
};

} // namespace fw
