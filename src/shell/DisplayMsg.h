#pragma once

#include <QString>

// The plain alert: title "Kinloom", one "OK" button, `text` as the message; waits for the
// button. The text is shown as given (callers localise and format first).
void DisplayMsg(const QString& text);
