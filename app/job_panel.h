// The "Job Commands" page: source and destination of the job, the Convert
// and Stop buttons and the progress bar. It never runs a job: Convert only
// tells the main frame that a conversion was asked for (command 57103), Stop
// asks the user and sends the stop; the frame gathers the job and asks the
// panel for the destination, which the panel keeps and shows.
#pragma once

#include <QWidget>
#include <string>

#include "job/job_paths.h"

class CHoverButton;
class CPathLabel;
class CRecentFileList;
class ICommandTarget;
class IDialogSeam;
class QProgressBar;
class QPushButton;

// "Sorry! " and `reason` as a sentence: the form in which the window tells
// why a job cannot start.
std::string ApologyFor(std::string reason);
// What the window tells the user when a job's paths or settings are refused:
// its own words for the source given as destination, else the reason as an
// apology.
std::string RefusalText(JobPathProblem path, const std::string& reason);

constexpr char kNoSourceText[] = "Please choose Source File Name";
constexpr char kNoDestText[] = "Please set Dest File Name";

class CJobPanel : public QWidget {
    Q_OBJECT

public:
    // `frame`, `dialogs` and `recent` are borrowed and outlive the panel;
    // `recent` keeps the folder of the last destination chosen, and may be
    // null (the dialog then proposes the source's folder).
    CJobPanel(ICommandTarget& frame, IDialogSeam& dialogs, CRecentFileList* recent,
              QWidget* parent = nullptr);

    // The stored destination; empty when unset.
    std::string GetDestPath() const { return m_szDest; }
    void SetSourceText(const std::string& text);
    void ResetSourceText();
    void SetProgress(int percent);
    // Text shown in the progress bar; empty: the plain bar.
    void SetProgressText(const QString& text);
    int Progress() const;
    void ResetAfterJob();
    // Back to the Convert face, the destination kept: the job never began.
    void ShowConvertFace() { ShowFace(false); }
    // The job starts: Stop replaces Convert.
    void ShowStopFace() { ShowFace(true); }

    // Makes sure a destination for `source` is stored, asking for one until
    // the user picks one that may receive the job's output: a stored one
    // that may not is cleared first, with the reason. False when the user
    // gave up, or when no destination can do for this source.
    bool ChooseDestination(const std::string& source);

    bool ShowsStop() const;
    CHoverButton* ConvertButton() const { return m_pConvert; }
    CHoverButton* StopButton() const { return m_pStop; }
    QPushButton* SourceBrowseButton() const { return m_pBrowseSource; }
    QPushButton* DestBrowseButton() const { return m_pBrowseDest; }
    QProgressBar* ProgressBar() const { return m_pProgress; }
    QString DestLabelText() const;
    QString SourceLabelText() const;

    // The page size the tab control notifies.
    void OnPageSize(int width, int height);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnBrowseDest();
    void OnStop();
    // The save dialog, proposing a file for `source` (may be empty).
    bool AskDestination(const std::string& source, std::string& path);
    void SetDest(const std::string& path);
    // False, after telling the user why, when `dest` may not receive the
    // job's output for `source`.
    bool AcceptPaths(const std::string& source, const std::string& dest);
    void ShowFace(bool stop);
    void PlaceChildren(int width);

    ICommandTarget& m_frame;
    IDialogSeam& m_dialogs;
    CRecentFileList* m_pRecent;
    std::string m_szDest;
    QProgressBar* m_pProgress;
    CPathLabel* m_pSource;
    CPathLabel* m_pDest;
    QPushButton* m_pBrowseSource;
    QPushButton* m_pBrowseDest;
    CHoverButton* m_pConvert;
    CHoverButton* m_pStop;
};
