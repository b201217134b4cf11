#pragma once

#include <QStringList>

/** The help window's ten questions and their answers; position i of one pairs with i of the other.
 */
class HelpTexts
{
public:
    /** The ten question fragments, without the leading "How do I ". */
    static QStringList LoadTopics();
    /** The ten answers, in the order of the questions. */
    static QStringList LoadAnswers();
};
