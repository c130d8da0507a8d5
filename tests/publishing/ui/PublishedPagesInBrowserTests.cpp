// Published pages as a browser reads them: texts that look like markup stay texts, no script is ever on a page, and
// only http and https links leave the site.

#include "../PublishFixture.h"

#include "Screenshot.h"

#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
class PagesInBrowser : public PublishFixture {
protected:
    void SetUp() override
    {
        // Chromium refuses to start its sandbox as root; the tests run as whoever runs them.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        PublishFixture::SetUp();
    }

    static bool load(QWebEnginePage& page, const QString& path)
    {
        bool finished = false, ok = false;
        const QMetaObject::Connection c = QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool success) {
            finished = true;
            ok = success;
        });
        page.load(QUrl::fromLocalFile(path));
        TestSupport::waitUntil([&] { return finished; }, "the page to load");
        QObject::disconnect(c);
        return ok;
    }
    static QVariant evaluate(QWebEnginePage& page, const QString& script)
    {
        bool done = false;
        QVariant result;
        page.runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        TestSupport::waitUntil([&] { return done; }, "the script's answer");
        return result;
    }
};

const QString kNoScripts = "document.querySelectorAll('script, [onerror], [onload], [onclick]').length";
// Links that would leave the page set for anything but a web site.
const QString kOtherLinks =
    "Array.from(document.querySelectorAll('[href], [src]')).map(e => e.href || e.src)"
    ".filter(u => !/^(https?|file):/.test(u)).length";
const QString kComments = "(function() { const out = []; const walk = n => { for (const c of n.childNodes) {"
                          " if (c.nodeType === 8) out.push(c.data); walk(c); } }; walk(document); return out; })()";

TEST_F(PagesInBrowser, DatabaseTextStaysTextOnPersonPagesAndTheIndex)
{
    struct Case {
        QString name;
        QString notes;
        QString mapUrl;
    };
    const QList<Case> cases = {
        {"Liam O'Brien", "It's O'Brien, not O'Bryan", "https://maps.example.org/?q=Cork&z=4"},
        {"<script>alert(1)</script> Doyle", "<script>alert(1)</script>", ""},
        {"Eve <img src=x onerror=alert(1)> Ryan", "a <b>bold</b> & <i>open", ""},
        {"Tom & Jerry Smith", "Salt & pepper &amp; more", ""},
        {"Ann--Marie Kelly", "--> <!-- end", ""},
        {"Carl Map", "x", "javascript:alert(1)"},
        {"Percy %1%2 Hall", "100%3 sure", ""},
    };
    QList<FTPerson*> people;
    for (const Case& c : cases) {
        FTPerson* p = born(c.name, M(), 1800, 1870);
        p->setNotes(c.notes);
        p->birth()->setPlace("Cork & Kerry");
        if (!c.mapUrl.isEmpty())
            p->birth()->saveGoogleMapUrl(c.mapUrl);
        people << p;
    }
    ASSERT_TRUE(publish(0));

    QWebEnginePage page;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        FTPerson* p = people[i];
        SCOPED_TRACE(p->name().toStdString());
        ASSERT_TRUE(load(page, root() + "/" + pageOf(p)));
        EXPECT_EQ(evaluate(page, kNoScripts).toInt(), 0);
        EXPECT_EQ(evaluate(page, kOtherLinks).toInt(), 0);
        EXPECT_EQ(evaluate(page, "document.title").toString(), p->nameWithBirthAndDeathYears());
        const QString text = evaluate(page, "document.body.innerText").toString();
        EXPECT_TRUE(text.contains(p->nameWithBirthAndDeathYears()));
        EXPECT_TRUE(text.contains(cases[i].notes)) << text.toStdString();
        EXPECT_TRUE(text.contains("Cork & Kerry"));
        // The personal-data comment stays one comment, and the style sheet after it is still read.
        const QStringList comments = evaluate(page, kComments).toStringList();
        ASSERT_EQ(comments.size(), 1);
        EXPECT_TRUE(comments[0].contains("Name: " + QString(p->name()).replace("--", "- -")));
        EXPECT_EQ(evaluate(page, "document.querySelectorAll('link[rel=stylesheet]').length").toInt(), 1);
        // The map link: written for the web address, left out for the script.
        EXPECT_EQ(evaluate(page, "Array.from(document.links).filter(a => a.textContent === 'Cork & Kerry').length").toInt(),
                  cases[i].mapUrl.startsWith("https:") ? 2 : 0);
    }

    ASSERT_TRUE(load(page, root() + "/index.html"));
    EXPECT_EQ(evaluate(page, kNoScripts).toInt(), 0);
    EXPECT_EQ(evaluate(page, kOtherLinks).toInt(), 0);
    EXPECT_EQ(evaluate(page, "document.title").toString(), moc->modelName());
    const QString index = evaluate(page, "document.body.innerText").toString();
    for (const FTPerson* p : people)
        EXPECT_TRUE(index.contains(p->nameWithBirthAndDeathYears())) << p->name().toStdString();
    // Each family name's link finds its target on the page.
    EXPECT_EQ(evaluate(page, "Array.from(document.querySelectorAll('a[href^=\"#\"]'))"
                             ".filter(a => !document.getElementsByName(decodeURIComponent(a.hash.slice(1))).length).length")
                  .toInt(),
              0);
}

TEST_F(PagesInBrowser, APersonPageAsAReaderSeesIt)
{
    const Family f = makeFamily();
    options.includeParents = options.includeChildren = options.includeSiblings = true;
    options.ancestorsTables = true;
    ASSERT_TRUE(publish(0));
    QWebEngineView view;
    view.resize(900, 1400);
    view.show();
    bool finished = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, [&] { finished = true; });
    view.load(QUrl::fromLocalFile(root() + "/" + pageOf(f.john)));
    ASSERT_TRUE(TestSupport::waitUntil([&] { return finished; }, "the page to load"));
    // The first frame after the load.
    QElapsedTimer painted;
    painted.start();
    TestSupport::waitUntil([&] { return painted.elapsed() > 500; }, "the page to paint");
    saveScreenshot(&view, "web-person-page");
    view.load(QUrl::fromLocalFile(root() + "/index.html"));
    finished = false;
    ASSERT_TRUE(TestSupport::waitUntil([&] { return finished; }, "the index to load"));
    painted.restart();
    TestSupport::waitUntil([&] { return painted.elapsed() > 500; }, "the index to paint");
    saveScreenshot(&view, "web-index-page");
}
} // namespace
