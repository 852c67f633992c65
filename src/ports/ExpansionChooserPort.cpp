#include "ports/ExpansionChooserPort.h"

#include "platform/ShownName.h"

namespace sorvane {

using namespace Qt::StringLiterals;

QString ExpansionViewsText(const ExpansionViews& views) {
    QString text;
    const auto view = [&text](const QString& label, const QStringList& dec) {
        text += label + u'\n';
        for (qsizetype i = 0; i < dec.size(); ++i)
            text +=
                QString::number(i).rightJustified(3, u' ') + u" : "_s + ShownName(dec[i]) + u'\n';
    };
    view(u"展開パターン"_s, views.matchDec);
    view(u"パターン１"_s, views.replaceDec);
    view(u"パターン２"_s, views.replaceDecReverse);
    return text;
}

}  // namespace sorvane
