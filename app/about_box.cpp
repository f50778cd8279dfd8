#include "app/about_box.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "app/message_boxes.h"
#include "app/window_helpers.h"
#include "quorvin_version.h"

namespace {

QLabel *LinkLabel(QWidget *parent, const QString &shown, const QString &address) {
    auto *label = new QLabel(QString("<a href=\"%1\">%2</a>").arg(address.toHtmlEscaped(), shown.toHtmlEscaped()),
                             parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget *main) : QDialog(main), mainWindow(main) {
    setWindowTitle("About");
    setModal(true);
    urlOpener = [](const QUrl &address) { return QDesktopServices::openUrl(address); };

    auto *product = new QLabel("Quorvin", this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    auto *version = new QLabel("version 4.1 (10/24/2003)", this);
    // The caption above is the product's; this is the build's own version.
    lBuildVersion = new QLabel(QString("Program version %1").arg(QUORVIN_VERSION), this);
    auto *institution = new QLabel(kInstitution, this);

    QUrl mail(QString("mailto:") + kContactMail);
    QUrlQuery subject;
    subject.addQueryItem("subject", "Quorvin");
    mail.setQuery(subject);
    lMail = LinkLabel(this, kContactMail, mail.toString());
    lInstitutionWeb = LinkLabel(this, kInstitutionWeb, kInstitutionWeb);
    lProductWeb = LinkLabel(this, kProductWeb, kProductWeb);
    for (QLabel *link : {lMail, lInstitutionWeb, lProductWeb})
        connect(link, &QLabel::linkActivated, this, [this](const QString &address) { OpenAddress(QUrl(address)); });

    bttOK = new QPushButton("OK", this);
    bttOK->setDefault(true);
    connect(bttOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *contact = new QHBoxLayout;
    contact->addWidget(new QLabel("Technical contact: ", this));
    contact->addWidget(lMail);
    contact->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(lBuildVersion, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    layout->addWidget(institution);
    layout->addLayout(contact);
    layout->addWidget(lInstitutionWeb);
    layout->addWidget(lProductWeb);
    layout->addWidget(bttOK, 0, Qt::AlignHCenter);
}

void TAboutBox::Execute() {
    adjustSize();
    if (mainWindow != nullptr) move(CentredOver(this, mainWindow));
    exec();
}

void TAboutBox::OpenAddress(const QUrl &address) {
    if (urlOpener(address)) return;
    const bool mail = address.scheme() == "mailto";
    TMessageBoxes::Show(this, mail ? "Unable to start mail client." : "Unable to start web browser.", QString(),
                        TMessageIcon::error);
}
