#pragma once
// The command-line tool's Ui: messages go to standard error with a prefix that
// names their severity; nobody is there to answer, so questions get a fixed
// answer (No unless configured) and save prompts are cancelled.

#include "fw/ui.h"

#include <iosfwd>

namespace fw {

class StderrUi : public Ui {
public:
    // Writes to out (standard error by default).
    StderrUi();
    explicit StderrUi(std::ostream& out);

    // The answer every question gets; Cancel counts as No for yes/no questions.
    void SetAnswer(Answer answer) { answer_ = answer; }

    void Message(const std::string& text, Icon icon) override;
    void BeginBusy() override {}
    void EndBusy() override {}
    void SetStatusText(const std::string& /*text*/) override {}
    void SetLastingStatus(const std::string& /*text*/) override {}
    bool OpenWithAssociatedProgram(const std::string& path) override;
    std::optional<std::string> AskSavePath(const std::string& suggested,
                                           const std::string& filter) override;

protected:
    Answer DoAsk(const std::string& text, Buttons buttons) override;

private:
    std::ostream& out_;
    Answer answer_ = Answer::No;
};

} // namespace fw
