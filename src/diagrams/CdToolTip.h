#pragma once

#include <QString>

class CdPerson;
class FTPerson;

// The tooltip of a family-diagram box: the person's summary, with, in an ancestral project view, how the person
// is related by blood to the view's root.
namespace CdToolTip {
constexpr int kMaxLength = 2048;
// Empty for a ghost box. `full` ("showFullPcdToolTips") adds notes, comments and every other detail. A box
// whose text was cut short with an ellipsis shows its whole text first.
QString text(const CdPerson& box, bool full);
// The whole text of a box whose text was cut short; empty otherwise.
QString elidedText(const CdPerson& box);
// "Consanguinity: <c>\n\n" in front of `summary` when `consanguinity` is set; with `full` blank line ends are
// tidied and a text over kMaxLength characters is cut there, followed by "...\n...(more)...\n".
QString compose(const QString& summary, const QString& consanguinity, bool full);
// How the person is related to the root of the ancestral view (through a spouse when not by blood); empty
// without such a view.
QString consanguinityWithRoot(FTPerson* person);
}
