#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace vc {

// Message boxes, injected so that tests can answer them.
class MessageService {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };
    virtual ~MessageService() = default;
    virtual Answer show(const QString& text, const QString& title, Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
};

// Records every message and answers from a script (Ok/Yes when the script is empty).
class RecordingMessages : public MessageService {
public:
    struct Shown { QString text, title; Buttons buttons; Icon icon; };
    Answer show(const QString& text, const QString& title, Buttons buttons, Icon icon) override
    {
        shown.push_back({text, title, buttons, icon});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.erase(answers.begin());
            return a;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::vector<Shown> shown;
    std::vector<Answer> answers;
};

} // namespace vc
