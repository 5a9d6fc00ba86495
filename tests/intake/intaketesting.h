#pragma once
// The intake sheet opened as the worker opens it: the program started on a fresh demo
// hospital, a patient chosen, "Intake Sheet Entry" chosen from the File menu.
#include "intake/familygrid.h"
#include "intake/frmintakesheet.h"
#include "intake/ratings.h"
#include "startedprogram.h"

#include <QMap>
#include <QPointer>

namespace hospitaldb { class EmbeddedBackend; }

namespace mss::test {

class IntakeSheetTest : public StartedProgram {
protected:
    void SetUp() override;

    // Chooses the encounter and opens its sheet from the menu; the statements of the opening
    // are left in the log.
    intake::frmIntakeSheet* open(const QString& hospNum, const QString& idNum, const QString& type,
                                 const QString& erNum = QString());
    template <class T>
    T* control(const QString& name) const {
        T* c = screen_ ? screen_->findChild<T*>(name) : nullptr;
        if (!c) ADD_FAILURE() << "no control " << name.toStdString();
        return c;
    }
    // Types into a box as the worker does: clears it first.
    static void type(QWidget* box, const QString& text);
    // The worker leaves a box for the next one.
    static void leave(QWidget* box);
    // Every value the screen shows, by control name (grid cells as FCFlexGrid[row,col]).
    QMap<QString, QString> snapshot() const;
    // What the database holds of one patient's sheet, table by table, row by row.
    QStringList stored(const QString& hospNum);
    bool screenOpen();
    hospitaldb::EmbeddedBackend& backend();

    // A patient admitted now, never interviewed and without an MSS number.
    QString newHosp_, newId_;
    // The patient whose stored sheet fills every section.
    QString showcaseHosp_, showcaseId_;
    QPointer<intake::frmIntakeSheet> screen_;
};

}  // namespace mss::test
