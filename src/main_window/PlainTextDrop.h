#pragma once

class QMimeData;

/** Which drags carry plain text; only those can be dropped on the program's targets. */
class PlainTextDrop
{
public:
    /**
     * True when the drag offers a text/plain form. A list of files alone does not count,
     * although Qt would hand out their paths as text.
     */
    static bool carriesText(const QMimeData* data);
};
