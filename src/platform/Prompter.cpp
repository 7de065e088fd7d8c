#include "platform/Prompter.h"

namespace rur::platform {

bool ScriptedPrompter::confirm(const QString &text)
{
    return confirmWithCancel(text) == Answer::Yes;
}

Prompter::Answer ScriptedPrompter::confirmWithCancel(const QString &text)
{
    messages.append({Message::Question, text});
    return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
}

bool ScriptedPrompter::askText(const QString &caption, const QString &label, QString *text, bool masked)
{
    Q_UNUSED(label);
    Q_UNUSED(masked);
    messages.append({Message::Question, caption});
    if (textAnswers.isEmpty())
        return false;
    *text = textAnswers.takeFirst();
    return true;
}

QString ScriptedPrompter::saveFileName(const QString &caption, const QString &suggested, const QString &filter)
{
    Q_UNUSED(filter);
    messages.append({Message::Question, caption});
    suggestedFiles.append(suggested);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QStringList ScriptedPrompter::errors() const
{
    QStringList out;
    for (const Message &m : messages)
        if (m.kind == Message::Error)
            out.append(m.text);
    return out;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Message &m : messages)
        out.append(m.text);
    return out;
}

}  // namespace rur::platform
