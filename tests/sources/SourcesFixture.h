#pragma once

// A family database with helpers for sources and citations, fresh user defaults, a data folder of its own and a
// recording of the toolbar hook and of "SourceToBeDeleted".

#include "../model/ModelFixture.h"

#include "sources/SourceHooks.h"

#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QDir>

#include <initializer_list>
#include <ostream>
#include <utility>

class SourcesFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        TestSupport::useFreshDefaults();
        QDir().mkpath(dataFolder());
        UserDefaults::standard().setString("KinloomDataDirectory", dataFolder());
        savedSourceHooks = SourceHooks::shared();
        SourceHooks::shared().activeSourceChanged = [this](FTMoc& m) { buttonRedraws << &m; };
        NotificationCenter::defaultCenter().addObserver(
            "SourceToBeDeleted", nullptr, [this](const Notification& n) { toBeDeleted << n.object; }, this);
        moc = newDatabase();
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        SourceHooks::shared() = savedSourceHooks;
        moc.reset();
        ModelFixture::TearDown();
    }

    QString dataFolder() const { return pathFor("data"); }

    using Fields = std::initializer_list<std::pair<const char*, const char*>>;
    // A source with the next number and these texts.
    FTSource* source(Fields fields = {})
    {
        FTSource* s = FTSource::initInMoc(moc.get());
        for (const auto& [key, value] : fields)
            s->setValueForKey(key, QString::fromUtf8(value));
        return s;
    }
    FTSource* numbered(int number, Fields fields = {})
    {
        FTSource* s = source(fields);
        s->setNumericId(number);
        return s;
    }
    // `count` people citing the source, with page references "p1", "p2" ...
    QList<FTSourceRel*> cite(FTSource* s, int count, const QString& name = "Ann Smith")
    {
        QList<FTSourceRel*> out;
        for (int i = 1; i <= count; ++i) {
            FTPerson* p = FTPerson::initInMoc(moc.get(), QStringLiteral("%1 %2").arg(name).arg(i), "F");
            FTSourceRel* c = FTSourceRel::initInMoc(moc.get(), s, p, QString());
            c->setReference(QStringLiteral("p%1").arg(i));
            out << c;
        }
        return out;
    }

    // A picture of the source (no file) with a transcription and a citation of the source.
    FTPicture* pictureOf(FTSource* s, const QString& transcription)
    {
        FTPicture* picture = FTPicture::initInMoc(moc.get(), QString(), s);
        picture->setTranscription(transcription);
        FTSourceRel::initInMoc(moc.get(), s, picture, QString());
        return picture;
    }

    std::unique_ptr<FTMoc> moc;
    SourceHooks savedSourceHooks;
    QList<FTMoc*> buttonRedraws;
    QList<const void*> toBeDeleted;
};
