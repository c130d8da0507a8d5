#pragma once

// A family database with a person whose pictures are made by title, and the pictures page's list over them.

#include "../model/PeopleFixture.h"

#include "editor/PersonPictures.h"

#include "model/FTPicture.h"

#include <QImage>

class PersonPicturesFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        ann = person("Ann Lee", F());
    }

    // A picture of `owner` without a file, titled `title`; ordered after the owner's other pictures.
    FTPicture* picture(FTPerson* owner, const QString& title, const QString& date = {})
    {
        FTPicture* p = FTPicture::initInMoc(moc.get(), QString(), owner);
        p->setName(title);
        p->setDate(date);
        return p;
    }
    // Pictures of Ann titled by the letters of `titles`, loaded into the list.
    QList<FTPicture*> pictures(const QString& titles)
    {
        QList<FTPicture*> made;
        for (QChar c : titles)
            made << picture(ann, QString(c));
        list.setPerson(ann);
        return made;
    }
    // The titles of the list in order, and of the person's pictures in seqNo order.
    QString listed() const
    {
        QString out;
        for (const FTPicture* p : list.pictures())
            out += p->name();
        return out;
    }
    QString stored() const
    {
        QString out;
        for (const FTPicture* p : ann->picturesArray())
            out += p->name();
        return out;
    }
    static QList<int> seqNos(const QList<FTPicture*>& pictures)
    {
        QList<int> out;
        for (const FTPicture* p : pictures)
            out << p->seqNo();
        return out;
    }

    FTPerson* ann = nullptr;
    PersonPictures list;
};
