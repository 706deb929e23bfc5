#include "ui/dialogs/frmAbout.h"

#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/Ui.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString Setting(CIni& ini, const char* section, const char* key,
                const QString& fallback = QString()) {
    return ini.Setting(QLatin1String(section), QLatin1String(key), fallback);
}

} // namespace

QString frmAbout::DefaultDisclaimer() {
    return RunTimeText(RtError::DefaultDisclaimer);
}

QString VersionText(int major, int minor, int revision) {
    return QStringLiteral("%1.%2%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(CIni& ini, Ui& ui, QWidget* parent) : QDialog(parent), m_ini(ini), m_ui(ui) {
    BuildControls();
    LayOut();
    Form_Load();
}

void frmAbout::BuildControls() {
    setObjectName(QStringLiteral("frmAbout"));
    setProperty("Tag", QStringLiteral("1024"));
    imgHead = NewControl<QLabel>(this, "imgHead");
    imgLogo = NewControl<QLabel>(this, "imgLogo");
    imgLab = NewControl<QLabel>(this, "imgLab");
    lblAppTitle = NewControl<QLabel>(this, "lblAppTitle");
    QFont title = lblAppTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    lblAppTitle->setFont(title);
    lblVersion = NewControl<QLabel>(this, "lblVersion", "1028");
    lblDisclaimer = NewControl<QLabel>(this, "lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    lblInternet = NewControl<QLabel>(this, "lblInternet");
    lblInternetValue = NewControl<QLabel>(this, "lblInternetValue");
    lblMail = NewControl<QLabel>(this, "lblMail");
    lblMailValue = NewControl<QLabel>(this, "lblMailValue");
    lblMailValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdSysInfo = NewControl<QPushButton>(this, "cmdSysInfo", "1025");
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::LayOut() {
    auto* addresses = new QGridLayout;
    addresses->addWidget(lblInternet, 0, 0);
    addresses->addWidget(lblInternetValue, 0, 1);
    addresses->addWidget(lblMail, 1, 0);
    addresses->addWidget(lblMailValue, 1, 1);
    addresses->setColumnStretch(1, 1);
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblAppTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDisclaimer);
    texts->addLayout(addresses);
    texts->addStretch();
    texts->addWidget(imgLogo, 0, Qt::AlignRight);
    auto* middle = new QHBoxLayout;
    middle->addWidget(imgLab, 0, Qt::AlignTop);
    middle->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(imgHead);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    lblDisclaimer->setMinimumWidth(320);
}

void frmAbout::Form_Load() {
    TrappedVoid(m_ui, [&] {
        const QString manufacturer = Setting(m_ini, "General", "Manufacturer", "0");
        const QString appName = Setting(m_ini, "About", "AppName", "Mervex");
        const QString disclaimer = Setting(m_ini, "About", "Disclaimer", DefaultDisclaimer());
        const QString internet = Setting(m_ini, "About", "Internet");
        const QString mail = Setting(m_ini, "About", "Mail");
        ApplyCaptions(this);
        setWindowTitle(windowTitle() + QLatin1Char(' ') + appName);
        lblAppTitle->setText(appName);
        lblVersion->setText(
            lblVersion->text() + QLatin1Char(' ') +
            VersionText(MERVEX_VERSION_MAJOR, MERVEX_VERSION_MINOR, MERVEX_VERSION_PATCH));
        lblDisclaimer->setText(disclaimer);
        ShowAddress(lblInternet, lblInternetValue, QStringLiteral("Internet:"), internet);
        ShowAddress(lblMail, lblMailValue, QStringLiteral("E-mail:"), mail);
        cmdSysInfo->hide();
        LoadPictures(manufacturer);
        if (!internet.isEmpty()) {
            lblInternetValue->setStyleSheet(QStringLiteral("color: blue;"));
            const QPixmap finger = LoadPicture(QStringLiteral("Finger.ico"));
            lblInternetValue->setCursor(QCursor(finger, finger.width() / 3, 0));
            lblInternetValue->installEventFilter(this);
        }
    });
}

void frmAbout::ShowAddress(QLabel* name, QLabel* value, const QString& caption,
                           const QString& address) {
    name->setText(address.isEmpty() ? QString() : caption);
    value->setText(address);
}

void frmAbout::LoadPictures(const QString& manufacturer) {
    setWindowIcon(QIcon(LoadPicture(QStringLiteral("Main.ico"))));
    imgHead->setPixmap(LoadPicture(QStringLiteral("Head.png")));
    const QString logo = QStringLiteral("Logo_%1.gif").arg(manufacturer);
    if (QFileInfo::exists(GraficsFile(logo))) {
        imgLogo->setPixmap(LoadPicture(logo));
    }
    imgLab->setPixmap(LoadPicture(QStringLiteral("Lab.jpg")));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblInternetValue && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblInternetValue_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::lblInternetValue_Click() {
    TrappedVoid(m_ui, [&] {
        const QString address = Setting(m_ini, "About", "Internet", kDefaultInternet);
        if (!address.isEmpty()) {
            QDesktopServices::openUrl(QUrl::fromUserInput(address));
        }
    });
}
