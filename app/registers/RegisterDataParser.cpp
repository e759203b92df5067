#include "registers/RegisterDataParser.h"
#include "common/TextFields.h"

#include <QFile>
#include <QtDebug>
#include <cstdlib>

QByteArray RegisterDataParser::dataAsset(const QString &name) {
    QFile file(QStringLiteral(":/resources/%1.xml").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QList<std::shared_ptr<Register>> RegisterDataParser::parse(const QByteArray &data) {
    registerArray.clear();
    xmlRegister.reset();
    xmlString.clear();
    textContinues = false;

    xmlParser.clear();
    // Element names are compared as written, prefixes and all.
    xmlParser.setNamespaceProcessing(false);
    // The whole document is at hand, so running out of bytes before its end is
    // a fault (a premature end of document).
    xmlParser.addData(data);
    while (!xmlParser.atEnd()) {
        switch (xmlParser.readNext()) {
        case QXmlStreamReader::StartElement:
            parserDidStartElement(xmlParser.name(), xmlParser.attributes());
            break;
        case QXmlStreamReader::EndElement:
            parserDidEndElement(xmlParser.name());
            break;
        case QXmlStreamReader::Characters:
            parserFoundCharacters(xmlParser.text());
            break;
        default:
            break;
        }
    }
    if (xmlParser.hasError()) {
        QString description = xmlParser.errorString();
        if (xmlParser.error() == QXmlStreamReader::PrematureEndOfDocumentError &&
            data.trimmed().isEmpty())
            description = QStringLiteral("the document is empty");
        parserParseErrorOccurred(QStringLiteral("%1 (line %2, column %3)")
                                     .arg(description)
                                     .arg(xmlParser.lineNumber())
                                     .arg(xmlParser.columnNumber()));
        // A register left open by the fault is lost.
        xmlRegister.reset();
    }
    return registerArray;
}

void RegisterDataParser::parserDidStartElement(QStringView elementName,
                                               const QXmlStreamAttributes &attributes) {
    // An element's text is what lies between its own tags: an empty element has none.
    xmlString.resize(0);
    textContinues = false;

    if (elementName == u"register") {
        // A register still open is dropped.
        xmlRegister = std::make_shared<Register>();
        xmlRegister->name = attributes.value(QLatin1String("name")).toString();
        xmlRegister->isAGA = attributes.value(QLatin1String("chipset")) == u"aga";
        xmlRegister->bits.reserve(16);
    } else if (elementName == u"bit") {
        if (!xmlRegister)
            return;
        auto bit = std::make_shared<RegisterBit>();
        bit->position = integerValue(attributes.value(QLatin1String("position")));
        bit->functionName = attributes.value(QLatin1String("function")).toString();
        if (attributes.hasAttribute(QLatin1String("group")))
            bit->groupName = attributes.value(QLatin1String("group")).toString();
        bit->groupPosition = integerValue(attributes.value(QLatin1String("group-position")));
        bit->isAGA = attributes.value(QLatin1String("chipset")) == u"aga";
        xmlRegister->bits.append(std::move(bit));
    }
}

void RegisterDataParser::parserFoundCharacters(QStringView string) {
    // One text may come in several pieces (around a CDATA section, say):
    // the pieces between two tags make one text. Most pieces are the white
    // space between tags, so the buffer is reused rather than reallocated.
    if (!textContinues)
        xmlString.resize(0);
    xmlString.append(string);
    textContinues = true;
}

void RegisterDataParser::parserDidEndElement(QStringView elementName) {
    textContinues = false;
    if (!xmlRegister)
        return;
    if (elementName == u"address") {
        xmlRegister->address = xmlString;
    } else if (elementName == u"summary") {
        xmlRegister->summary = xmlString;
    } else if (elementName == u"note") {
        xmlRegister->note = xmlString;
    } else if (elementName == u"extra") {
        xmlRegister->extraInformation = xmlString;
    } else if (elementName == u"bit") {
        if (!xmlRegister->bits.isEmpty())
            xmlRegister->bits.last()->functionDescription = xmlString;
    } else if (elementName == u"register") {
        if (isUsable(*xmlRegister))
            registerArray.append(xmlRegister->copyWithZone());
        xmlRegister.reset();
    }
}

void RegisterDataParser::parserParseErrorOccurred(const QString &description) {
    qWarning().noquote() << QStringLiteral("parseErrorOccurred: '%1'").arg(description);
}

bool RegisterDataParser::isUsable(const Register &reg) {
    if (reg.bits.size() != 16) {
        qWarning().noquote() << QStringLiteral("Register '%1' left out: it lists %2 bits, not 16")
                                    .arg(reg.name)
                                    .arg(reg.bits.size());
        return false;
    }
    for (qsizetype i = 0; i < reg.bits.size(); ++i) {
        const RegisterBit &bit = *reg.bits[i];
        if (bit.groupName && bit.groupPosition > 15) {
            qWarning().noquote()
                << QStringLiteral("Register '%1' left out: bit %2 has group position %3, beyond 15")
                       .arg(reg.name)
                       .arg(i)
                       .arg(static_cast<qint64>(bit.groupPosition));
            return false;
        }
    }
    return true;
}
