// The "Job Commands" page: source and destination of the job, the convert
// check, the Convert and Stop buttons and the progress bar. It never runs a
// job: it sends its decisions to the main frame as commands, synchronously.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class CHoverButton;
class CPathLabel;
class ICommandTarget;
class IDialogSeam;
class QProgressBar;
class QPushButton;

// "Sorry! " and `reason` as a sentence: the form in which the window tells
// why a job cannot start.
std::string ApologyFor(std::string reason);

constexpr char kNoSourceText[] = "Please choose Source File Name";
constexpr char kNoDestText[] = "Please set Dest File Name";

class CJobPanel : public QWidget {
    Q_OBJECT

public:
    // `frame` and `dialogs` are borrowed and outlive the panel.
    // `lastLoadResult` tells whether the preview's last load failed (non-zero).
    CJobPanel(ICommandTarget& frame, IDialogSeam& dialogs, QWidget* parent = nullptr);

    std::string GetSourceText() const;
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

    // The convert check, as if the Convert button were pressed. The
    // preview's last load result is asked through `lastLoadFailed`.
    void StartConvert();
    void SetLoadResultQuery(std::function<bool()> lastLoadFailed) {
        m_lastLoadFailed = std::move(lastLoadFailed);
    }
    // A job is running: the convert check is refused.
    void SetJobActiveQuery(std::function<bool()> jobActive) { m_jobActive = std::move(jobActive); }

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
    bool AskDestination(std::string& path);
    void SetDest(const std::string& path);
    // False, after telling the user why, when `dest` may not receive the
    // job's output for `source`.
    bool AcceptPaths(const std::string& source, const std::string& dest);
    void ShowFace(bool stop);
    void PlaceChildren(int width);

    ICommandTarget& m_frame;
    IDialogSeam& m_dialogs;
    std::function<bool()> m_lastLoadFailed;
    std::function<bool()> m_jobActive;
    std::string m_szDest;
    QProgressBar* m_pProgress;
    CPathLabel* m_pSource;
    CPathLabel* m_pDest;
    QPushButton* m_pBrowseSource;
    QPushButton* m_pBrowseDest;
    CHoverButton* m_pConvert;
    CHoverButton* m_pStop;
};
