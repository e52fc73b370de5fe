#include "PdfOutlineModule.h"

// The qpdf 11 interface without its older smart pointer.
#define POINTERHOLDER_TRANSITION 4

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace quillery {

QByteArray PdfOutlineModule::withOutline(const QByteArray &pdf, const QList<PdfOutline::Entry> &entries, QString *error)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("print", pdf.constData(), static_cast<size_t>(pdf.size()));
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(document).getAllPages();

        QPDFObjectHandle outlines = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
        outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
        QPDFObjectHandle previous;
        for (const PdfOutline::Entry &entry : entries) {
            if (entry.sheet < 0 || entry.sheet >= static_cast<int>(pages.size())) {
                if (error)
                    *error = QStringLiteral("the outline names sheet %1 of %2").arg(entry.sheet + 1).arg(pages.size());
                return {};
            }
            QPDFObjectHandle destination = QPDFObjectHandle::newArray();
            destination.appendItem(pages[static_cast<size_t>(entry.sheet)].getObjectHandle());
            destination.appendItem(QPDFObjectHandle::newName("/Fit"));
            QPDFObjectHandle item = document.makeIndirectObject(QPDFObjectHandle::newDictionary());
            item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(entry.title.toStdString()));
            item.replaceKey("/Parent", outlines);
            item.replaceKey("/Dest", destination);
            if (previous.isInitialized()) {
                previous.replaceKey("/Next", item);
                item.replaceKey("/Prev", previous);
            } else {
                outlines.replaceKey("/First", item);
            }
            previous = item;
        }
        if (previous.isInitialized()) {
            outlines.replaceKey("/Last", previous);
            outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(entries.size()));
            QPDFObjectHandle root = document.getRoot();
            root.replaceKey("/Outlines", outlines);
            root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        }

        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(
            reinterpret_cast<const char *>(buffer->getBuffer()), static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception &failure) {
        if (error)
            *error = QString::fromLocal8Bit(failure.what());
        return {};
    }
}

} // namespace quillery
