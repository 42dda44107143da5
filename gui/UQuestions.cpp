// Stage questions answered by the dialogs.
#include "UQuestions.h"

#include "UFormCover.h"
#include "UFormInput.h"

namespace quorlet {

LineAnswer TWindowQuestions::AskLine()
{
    const QByteArray text = input_.AskInput().toUtf8();
    return {std::string(text.constData(), static_cast<std::size_t>(text.size())), false};
}

std::string TWindowQuestions::AskCover() { return cover_.AskCover(); }

}  // namespace quorlet
