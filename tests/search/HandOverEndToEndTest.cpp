#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/HeadlessSession.h"
#include "download/DownloadEntry.h"
#include "download/DownloadRun.h"
#include "download/FileTypeDetection.h"
#include "download/fFileDownload.h"
#include "search/fWebSearch.h"
#include "support/FakeSearchEngine.h"

namespace {

// Search and download meet over 127.0.0.1: the search window with the headless browser
// searches two groups on the fake engine, hands every result over, and the download window
// downloads the engine's documents by the method of the case into a fresh folder.
class HandOverEndToEnd : public ::testing::TestWithParam<int> {};

TEST_P(HandOverEndToEnd, EveryResultLandsInTheChosenFolderUnderItsTitleAndRealType) {
    const int method = GetParam();
    FakeSearchEngine engine;
    engine.setDefaultResultCount(10);
    engine.setResultsPerPage(5);
    QTemporaryDir folder;
    QString messages;
    QTextStream messageStream(&messages);
    HeadlessSession session(engine.base(), messageStream);
    session.registerWindow<fFileDownload>();
    fWebSearch& search = *session.loadWindow<fWebSearch>();
    search.savePathPreset = true;
    session.config().AskPathAtExtraction = 0;
    session.config().ChosenSaveFolder = folder.path() + u'/';
    search.Text1->setText(QStringLiteral("alpha\r\nbeta"));
    for (CheckBox* type : {search.Check9, search.Check10, search.Check11}) {
        type->setValue(false);  // pdf and doc only
    }
    search.Command1->click();
    ListView& results = *search.ListView1;
    // Five of every ten results pass the rules; beta's "论文" documents are alpha's.
    ASSERT_EQ(results.count(), 2 * 2 * 5 - 2);

    search.Command2->click();  // nothing selected: every entry
    auto* download = session.services().forms.find<fFileDownload>(fFileDownload::kName);
    ASSERT_TRUE(download);
    EXPECT_TRUE(download->visible());
    session.config().downloadMethod = method;
    download->ApplyDownloadMethod(method);
    download->Combo1->setListIndex(5);  // six parallel slots
    QString lines;
    QTextStream out(&lines);
    DownloadRun run(*download, session.runtime(), out, out);
    run.runUntilIdle();
    EXPECT_TRUE(run.allDone()) << lines.toStdString();

    QStringList expected;
    for (int position = 1; position <= results.count(); ++position) {
        const ListRow* row = results.at(position);
        EXPECT_EQ(row->subItem(2), "成功") << row->key().toStdString();
        const bool posing = row->key().contains(FakeSearchEngine::kPosingPath);
        const QString type = posing ? QStringLiteral("htm") : row->subItem(1);
        const QString name = row->text() + u'.' + type;
        EXPECT_EQ(打开文件判断文件类型(folder.filePath(name)), type) << name.toStdString();
        expected.append(name);
    }
    EXPECT_EQ(std::count_if(expected.cbegin(), expected.cend(),
                            [](const QString& name) { return name.endsWith(".htm"); }),
              2);
    expected.sort();
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, expected);
    EXPECT_TRUE(messages.isEmpty()) << messages.toStdString();
}

INSTANTIATE_TEST_SUITE_P(ByMethod, HandOverEndToEnd, ::testing::Values(2, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Method" + std::to_string(info.param);
                         });

}  // namespace
