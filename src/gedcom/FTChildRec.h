#pragma once

class FTPcRel;
class FTPerson;

// One child of an exported family with the links that tie it to the father and to the mother (either may be
// missing). The database owns the records; the export only points at them for the length of a run.
struct FTChildRec {
    FTPerson* child = nullptr;
    FTPcRel* fatherPcRel = nullptr;
    FTPcRel* motherPcRel = nullptr;
};
