// IMessagePane: the message pane below a knowledge-base editor.
//
// The build writes its progress and error lines into this pane while it runs.
// A front end implements the two operations with its own text control; the
// logic sees only this interface and never a toolkit type.
#pragma once

class IMessagePane {
public:
    virtual ~IMessagePane() = default;

    // Removes every line and repaints the pane.
    virtual void Clear() = 0;
    // Appends one line at the end and repaints at once, so that lines show
    // while a long build is still running.
    virtual void AppendLine(const char *line) = 0;
};
