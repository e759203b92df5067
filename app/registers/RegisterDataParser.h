#pragma once
#include "registers/Register.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>
#include <memory>

// Reads the register database, an XML document of register elements, into an
// ordered list of registers. The document is walked as a stream of events
// (start of an element, text, end of an element) handed to the parser*
// callbacks below.
class RegisterDataParser {
public:
    // The bytes of the application's data asset of that name (the register
    // database is "amigaRegisters"); empty when there is no such asset.
    static QByteArray dataAsset(const QString &name);

    // Reads a whole document and returns the registers completed in it, in
    // document order. A document that breaks off keeps the registers whose end
    // tags came before the fault.
    QList<std::shared_ptr<Register>> parse(const QByteArray &data);

    // The event callbacks, public so that a test can drive them directly.
    void parserDidStartElement(QStringView elementName, const QXmlStreamAttributes &attributes);
    void parserFoundCharacters(QStringView string);
    void parserDidEndElement(QStringView elementName);
    void parserParseErrorOccurred(const QString &description);

    // The registers read so far.
    const QList<std::shared_ptr<Register>> &registers() const { return registerArray; }
    // The register being read; null outside a register element.
    const std::shared_ptr<Register> &registerInProgress() const { return xmlRegister; }

private:
    // Whether the register's entry fits the calculator (16 bits, group
    // positions 0 to 15); logs why when it does not.
    static bool isUsable(const Register &reg);

    QList<std::shared_ptr<Register>> registerArray;
    QXmlStreamReader xmlParser;
    std::shared_ptr<Register> xmlRegister;
    // The text of the element being read: the pieces reported since the last tag.
    QString xmlString;
    bool textContinues = false;
};
