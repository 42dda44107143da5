// The questions of the stages, asked through the window's modal dialogs.
#pragma once

#include "IORedirect.h"

namespace quorlet {

class TFormInput;
class TFormCover;

class TWindowQuestions : public TQuestions {
public:
    TWindowQuestions(TFormInput& input, TFormCover& cover) : input_(input), cover_(cover) {}
    LineAnswer AskLine() override;
    std::string AskCover() override;

private:
    TFormInput& input_;
    TFormCover& cover_;
};

}  // namespace quorlet
