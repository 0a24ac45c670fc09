#include "fw/stderr_ui.h"

#include <iostream>

namespace fw {
namespace {

const char* Prefix(Icon icon) {
    switch (icon) {
    case Icon::Stop:
    case Icon::Error:
        return "error: ";
    case Icon::Warning:
        return "warning: ";
    case Icon::Question:
    case Icon::Information:
        break;
    }
    return "note: ";
}

const char* AnswerName(Answer a) {
    switch (a) {
    case Answer::Yes:
        return "yes";
    case Answer::Cancel:
        return "cancel";
    case Answer::No:
        break;
    }
    return "no";
}

} // namespace

StderrUi::StderrUi() : out_(std::cerr) {}

StderrUi::StderrUi(std::ostream& out) : out_(out) {}

void StderrUi::Message(const std::string& text, Icon icon) {
    out_ << Prefix(icon) << text << '\n' << std::flush;
}

Answer StderrUi::DoAsk(const std::string& text, Buttons buttons) {
    Answer a = answer_;
    if (a == Answer::Cancel && buttons == Buttons::YesNo) {
        a = Answer::No;
    }
    out_ << "question: " << text << "\n  answered: " << AnswerName(a) << '\n' << std::flush;
    return a;
}

bool StderrUi::OpenWithAssociatedProgram(const std::string& path) {
    out_ << "note: not opening " << path << " (no desktop)\n" << std::flush;
    return false;
}

std::optional<std::string> StderrUi::AskSavePath(const std::string& /*suggested*/,
                                                 const std::string& /*filter*/) {
    return std::nullopt;
}

} // namespace fw
