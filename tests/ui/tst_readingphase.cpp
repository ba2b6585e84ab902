// The colours of the reading window's status bar, phase by phase.
#include "ui/reading/ReadingPhaseColour.h"

#include <QtTest>

using nkp::device::ReadingPhase;
using nkp::ui::readingPhaseColour;

class TestReadingPhase : public QObject {
    Q_OBJECT
private slots:
    void everyPhaseHasItsColour()
    {
        const QColor face(212, 208, 200);
        QCOMPARE(readingPhaseColour(ReadingPhase::Searching, face), face);
        QCOMPARE(readingPhaseColour(ReadingPhase::Transferring, face), QColor(255, 0, 0));
        QCOMPARE(readingPhaseColour(ReadingPhase::Checking, face), QColor(255, 255, 0));
        // A mismatch leaves the bar as it was while checking.
        QCOMPARE(readingPhaseColour(ReadingPhase::ChecksumMismatch, face), QColor(255, 255, 0));
        QCOMPARE(readingPhaseColour(ReadingPhase::Done, face), QColor(0, 128, 0));
        QCOMPARE(readingPhaseColour(ReadingPhase::Failed, face), face);
        QCOMPARE(readingPhaseColour(ReadingPhase::Cancelled, face), face);
        // The button face is the palette's, whatever it is.
        QCOMPARE(readingPhaseColour(ReadingPhase::Failed, QColor(1, 2, 3)), QColor(1, 2, 3));
    }
};

QTEST_GUILESS_MAIN(TestReadingPhase)
#include "tst_readingphase.moc"
