#pragma once

class FTPcRel;

// The assessment of a parent-child link (its notes, certainty and six evidence flags, kept in the link's extra
// data).
class PcRelAssessment {
public:
    // Forgets the assessment: every value through its setter, then the extra data altogether, so that the link
    // reports its defaults again (certainty 50, or 20 when its dates give reasons for uncertainty).
    static void resetToDefaults(FTPcRel* link);
};
