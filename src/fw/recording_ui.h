#pragma once
// A Ui for tests: remembers every call in order and answers questions and save
// prompts from queues the test fills beforehand.

#include "fw/ui.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class RecordingUi : public Ui {
public:
    struct Call {
        enum class Kind { Message, Ask, BeginBusy, EndBusy, StatusText, OpenFile, AskSavePath };
        Kind kind = Kind::Message;
        std::string text;                 // message, question, status text, path or suggestion
        Icon icon = Icon::Information;    // Message only
        Buttons buttons = Buttons::YesNo; // Ask only
        Answer answer = Answer::No;       // Ask only: what was answered
    };

    void Message(const std::string& text, Icon icon) override;
    void BeginBusy() override;
    void EndBusy() override;
    void SetStatusText(const std::string& text) override;
    void SetLastingStatus(const std::string& text) override { lasting_ = text; }
    bool OpenWithAssociatedProgram(const std::string& path) override;
    std::optional<std::string> AskSavePath(const std::string& suggested,
                                           const std::string& filter) override;

    // Scripted answers, used first in first out.
    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    void QueueSavePath(std::optional<std::string> path) { savePaths_.push_back(std::move(path)); }
    // Answer and path given when the queues are empty (No and nothing at first);
    // each such use is counted as unscripted.
    void SetDefaultAnswer(Answer answer) { defaultAnswer_ = answer; }
    // Result of OpenWithAssociatedProgram (true at first).
    void SetOpenResult(bool ok) { openResult_ = ok; }

    const std::vector<Call>& Calls() const { return calls_; }
    // Texts of the calls of one kind, in order.
    std::vector<std::string> Texts(Call::Kind kind) const;
    std::vector<std::string> Messages() const { return Texts(Call::Kind::Message); }
    std::vector<std::string> Questions() const { return Texts(Call::Kind::Ask); }
    std::size_t Count(Call::Kind kind) const;
    // Current nesting of BeginBusy/EndBusy; negative after too many EndBusy.
    int BusyDepth() const { return busyDepth_; }
    const std::string& StatusText() const { return status_; }
    const std::string& LastingStatus() const { return lasting_; }
    std::size_t UnscriptedCount() const { return unscripted_; }
    std::size_t PendingAnswers() const { return answers_.size(); }
    // Forgets the calls; queues and settings stay.
    void ClearCalls() { calls_.clear(); }

protected:
    Answer DoAsk(const std::string& text, Buttons buttons) override;

private:
    std::vector<Call> calls_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> savePaths_;
    Answer defaultAnswer_ = Answer::No;
    bool openResult_ = true;
    int busyDepth_ = 0;
    std::string status_;
    std::string lasting_;
    std::size_t unscripted_ = 0;
};

} // namespace fw
