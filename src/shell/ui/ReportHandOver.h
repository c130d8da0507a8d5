#pragma once

class QLabel;
class QWidget;
class RtfWriter;

// The end of every report window's work, once its file is written and closed: "Report saved to file: <path>" in
// the window's progress field (shortened in the middle when the field is too narrow, whole in its tool tip), the
// report opened in the application the user chose for RTF files, and the window
// closed four seconds later. The timer is the window's own: a window gone by then is never called, and one the
// user has closed already is left alone.
//
//   if (!writer.closeOutputFile()) return;
//   handOverReport(this, m_progressMessage, writer);
void handOverReport(QWidget* window, QLabel* progressField, const RtfWriter& writer);

// How long the finished report window stays open.
inline constexpr int kReportWindowCloseDelayMs = 4000;
