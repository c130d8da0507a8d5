#pragma once

class FTPerson;

// One row of a couple's children table: the child, null in the new-child row (always the last), and the height
// the row's notes need when they are shown in full.
class ChildInfo {
public:
    explicit ChildInfo(FTPerson* child = nullptr)
        : m_child(child)
    {
    }
    FTPerson* child() const { return m_child; }
    float rowHeight() const { return m_rowHeight; }
    void setRowHeight(float height) { m_rowHeight = height; }

private:
    FTPerson* m_child;
    float m_rowHeight = 0;
};
