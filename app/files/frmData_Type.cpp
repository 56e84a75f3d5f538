#include "files/frmData_Type.h"

#include "files/DataFiles.h"
#include "link/Transfer.h"
#include "link/TransferDriver.h"
#include "shell/Seams.h"
#include "shell/frmMain.h"
#include "store/Names.h"
#include "store/Store.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvl {

namespace {

void disableSaveAs()
{
    setMenuEnabled(QStringLiteral("mnuSave_As"), false);
}

TransferStarter &transferStarter()
{
    static TransferStarter starter;
    return starter;
}

} // namespace

void setTransferStarter(TransferStarter starter)
{
    transferStarter() = std::move(starter);
}

void setChartDefaults(Store &s)
{
    setDefaultThresholds(s);
    s.Chart_Days_Text = QStringLiteral("1");
}

QString firstWindowOfView(RequestedView view, int version)
{
    switch (view) {
    case RequestedView::LeqChart:
        return version == Version35 || version == Version40 ? QStringLiteral("frmInGraphique")
                                                            : QStringLiteral("frmInGraphique_v5");
    case RequestedView::LeqTable:
    case RequestedView::EventsTable:
        return QStringLiteral("frmInTableau");
    case RequestedView::Parameters:
        return QStringLiteral("frmParametres_v4");
    case RequestedView::Report:
        return QStringLiteral("frmInRapport");
    case RequestedView::None:
        break;
    }
    return QString();
}

frmData_Type::frmData_Type() : Form(QStringLiteral("frmData_Type"), &openFlags().Open_frmData_Type, true)
{
    setWindowTitle(QStringLiteral("Analysis Data"));
    const Store &s = appStore();

    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_lastData = new QRadioButton(QStringLiteral("Last Data used"), m_frame);
    m_lastData->setObjectName(QStringLiteral("Option_Last_Data"));
    m_newSave = new QRadioButton(QStringLiteral("Saved Data"), m_frame);
    m_newSave->setObjectName(QStringLiteral("Option_New_Save"));
    m_fileName = new QLineEdit(m_frame);
    m_fileName->setObjectName(QStringLiteral("Text_Save_Data"));
    m_fileName->setReadOnly(true);
    m_search = new QPushButton(QStringLiteral("..."), m_frame);
    m_search->setObjectName(QStringLiteral("Cmd_Search"));
    m_search->setToolTip(QStringLiteral("Select a data file"));
    m_search->setAccessibleName(QStringLiteral("Select a data file"));
    m_newTransfer = new QRadioButton(QStringLiteral("New Data  (KVL 24/36 data transfer)"), m_frame);
    m_newTransfer->setObjectName(QStringLiteral("Option_New_Transfert"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Cmd_Ok"));
    const QPixmap okImage = loadImage(QStringLiteral("Ok.bmp"));
    if (!okImage.isNull())
        m_ok->setIcon(okImage);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("Cmd_Annuler"));

    auto *frameLayout = new QVBoxLayout(m_frame);
    frameLayout->addWidget(m_lastData);
    frameLayout->addWidget(m_newSave);
    auto *fileRow = new QHBoxLayout;
    fileRow->addSpacing(20);
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(m_search);
    frameLayout->addLayout(fileRow);
    frameLayout->addWidget(m_newTransfer);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_frame);
    layout->addLayout(buttons);
    setMinimumWidth(twips(6000));

    // Choosing a source, by the user or by the load below, allows OK.
    for (QRadioButton *option : {m_lastData, m_newSave, m_newTransfer}) {
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                m_ok->setEnabled(true);
        });
        option->installEventFilter(this);
    }
    connect(m_search, &QPushButton::clicked, this, &frmData_Type::Cmd_Search_Click);
    connect(m_ok, &QPushButton::clicked, this, &frmData_Type::Cmd_Ok_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frmData_Type::Cmd_Annuler_Click);

    m_frame->setTitle(QStringLiteral("Select the typical data for the ") + viewText(s.Requested_View));
    m_ok->setEnabled(false);
    m_fileName->clear();
    m_newTransfer->setEnabled(s.Com_Port != 0);
    m_lastData->setEnabled(s.Data_Loaded);
    if (s.Data_Loaded)
        m_lastData->setChecked(true);
    if (!m_newTransfer->isEnabled() && !m_lastData->isEnabled())
        m_newSave->setChecked(true);
}

bool frmData_Type::eventFilter(QObject *watched, QEvent *event)
{
    // A double click on a source confirms it at once.
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto *option = qobject_cast<QRadioButton *>(watched);
        if (option && option->isEnabled()) {
            option->setChecked(true);
            QMetaObject::invokeMethod(this, &frmData_Type::Cmd_Ok_Click, Qt::QueuedConnection);
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void frmData_Type::Cmd_Search_Click()
{
    m_newSave->setChecked(true);
    const std::optional<QString> path =
        dialogs().openFile(this, QString(), QStringLiteral("KVL 24-2 save (*.kvl)|*.kvl"), 1);
    if (!path)
        return;
    Store &s = appStore();
    s.Data_File_Path = *path;
    // Case-sensitive on purpose: "KVL" is refused.
    if (path->right(3) == QStringLiteral("kvl")) {
        m_fileName->setText(QFileInfo(*path).fileName());
    } else {
        s.Data_File_Path.clear();
        m_fileName->clear();
    }
}

void frmData_Type::Cmd_Ok_Click()
{
    Store &s = appStore();
    if (m_newTransfer->isChecked()) {
        hide();
        QPointer<frmData_Type> self(this);
        auto done = [self] {
            if (self)
                self->transferEnded();
        };
        if (transferStarter())
            transferStarter()(done);
        else
            startTransfer(done);
        return;
    }
    if (m_lastData->isChecked()) {
        openRequestedView(true);
        return;
    }
    if (m_newSave->isChecked()) {
        if (m_fileName->text().isEmpty()) {
            show();
            showMessage(QStringLiteral("Please, Select a . kvl file !!!"), QStringLiteral("No file selected"),
                        MsgIcon::Exclamation);
            return;
        }
        Lecture_Fichier(s.Data_File_Path);
        if (!s.Data_Loaded) {
            // The loader has said why; the user may pick another file.
            show();
            return;
        }
        openRequestedView(true);
        return;
    }
    close();
}

void frmData_Type::transferEnded()
{
    Store &s = appStore();
    const TransferOutcome outcome = transferOutcome(s);
    if (outcome != TransferOutcome::Completed) {
        const TransferMessage m = transferFailureMessage(outcome);
        if (!m.text.isEmpty()) {
            showMessage(m.text, m.caption, MsgIcon::Critical, lastTransferErrorDetail());
        } else {
            // Cancelled by the user (code 0); any other code is reported the same way.
            showMessage(QStringLiteral("Data download impossible !!! "),
                        QStringLiteral("Data download interrupt !!!"), MsgIcon::Critical);
            disableSaveAs();
            s.Data_Loaded = false;
        }
        closeForm(QStringLiteral("frmWait"));
        close();
        return;
    }
    Lire_Numero_Serie(s);
    openRequestedView(false);
}

void frmData_Type::openRequestedView(bool withChartDefaults)
{
    Store &s = appStore();
    const QString window = firstWindowOfView(s.Requested_View, s.Device_Version);
    if (withChartDefaults && s.Requested_View == RequestedView::LeqChart)
        setChartDefaults(s);
    QPointer<frmData_Type> self(this);
    if (!window.isEmpty())
        openForm(window);
    if (self)
        self->close();
}

} // namespace kvl
