#include "thoughts/ThoughtsPart.h"

#include "ui/widgets/ImageList.h"
#include "ui/widgets/TabStrip.h"
#include "ui/widgets/Twips.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QMenu>

ThoughtsPart::ThoughtsPart(QFrame* frame, QMenu* menu) : QObject(frame) {
    auto* body = new QHBoxLayout;
    auto* left = new QWidget(frame);
    left->setObjectName(QStringLiteral("fraThoughtsLeft"));
    left->setFixedWidth(TwipsToPixels(3975));
    new QVBoxLayout(left);
    body->addWidget(left);
    body->addWidget(TabbedFrames(frame, QStringLiteral("tabThoughts"), tabThoughts,
                                 {{&fraThoughts2, QStringLiteral("fraThoughts2")},
                                  {&fraThoughtsSearch, QStringLiteral("fraThoughtsSearch")}}),
                    1);
    static_cast<QBoxLayout*>(frame->layout())->addLayout(body, 1);

    // The tree and its commands come with the Thoughts themselves.
    for (const auto& [name, caption] : {std::pair{"mnuRefreshThoughts", "Refresh Thoughts Tree"},
                                        std::pair{"mnuThoCountNodes", "Count Thought Nodes"},
                                        std::pair{"mnuMaintClearThoughts", "Clear Thoughts..."}}) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setEnabled(false);
    }
}

void ThoughtsPart::BuildThoughtsTab() {
    tabThoughts->RemoveAll();
    tabThoughts->AddTab(QStringLiteral("Thought"), QStringLiteral("THOUGHT"), ImageListIcon(47));
    tabThoughts->AddTab(QStringLiteral("Search"), QStringLiteral("SEARCH"), ImageListIcon(12));
    tabThoughts->setCurrentIndex(0);
    BringToFront(fraThoughts2);
}

void ThoughtsPart::RefreshThoughtsTree() {
    bThoughtsLoaded = true;
}
