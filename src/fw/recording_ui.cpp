#include "fw/recording_ui.h"

#include <algorithm>

namespace fw {

void RecordingUi::Message(const std::string& text, Icon icon) {
    Call c;
    c.kind = Call::Kind::Message;
    c.text = text;
    c.icon = icon;
    calls_.push_back(std::move(c));
}

Answer RecordingUi::DoAsk(const std::string& text, Buttons buttons) {
    Answer a = defaultAnswer_;
    if (answers_.empty()) {
        ++unscripted_;
    } else {
        a = answers_.front();
        answers_.pop_front();
    }
    // A plain yes/no box has no Cancel button.
    if (a == Answer::Cancel && buttons == Buttons::YesNo) {
        a = Answer::No;
    }
    Call c;
    c.kind = Call::Kind::Ask;
    c.text = text;
    c.buttons = buttons;
    c.answer = a;
    calls_.push_back(std::move(c));
    return a;
}

void RecordingUi::BeginBusy() {
    ++busyDepth_;
    calls_.push_back({Call::Kind::BeginBusy, {}, Icon::Information, Buttons::YesNo, Answer::No});
}

void RecordingUi::EndBusy() {
    --busyDepth_;
    calls_.push_back({Call::Kind::EndBusy, {}, Icon::Information, Buttons::YesNo, Answer::No});
}

void RecordingUi::SetStatusText(const std::string& text) {
    status_ = text;
    calls_.push_back({Call::Kind::StatusText, text, Icon::Information, Buttons::YesNo, Answer::No});
}

bool RecordingUi::OpenWithAssociatedProgram(const std::string& path) {
    calls_.push_back({Call::Kind::OpenFile, path, Icon::Information, Buttons::YesNo, Answer::No});
    return openResult_;
}

std::optional<std::string> RecordingUi::AskSavePath(const std::string& suggested,
                                                    const std::string& /*filter*/) {
    calls_.push_back(
        {Call::Kind::AskSavePath, suggested, Icon::Information, Buttons::YesNo, Answer::No});
    if (savePaths_.empty()) {
        ++unscripted_;
        return std::nullopt;
    }
    std::optional<std::string> path = std::move(savePaths_.front());
    savePaths_.pop_front();
    return path;
}

std::vector<std::string> RecordingUi::Texts(Call::Kind kind) const {
    std::vector<std::string> texts;
    for (const Call& c : calls_) {
        if (c.kind == kind) {
            texts.push_back(c.text);
        }
    }
    return texts;
}

std::size_t RecordingUi::Count(Call::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(), [kind](const Call& c) { return c.kind == kind; }));
}

} // namespace fw
