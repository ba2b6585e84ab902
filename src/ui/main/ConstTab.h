#pragma once

#include "screen/MainState.h"

#include <QHash>
#include <QWidget>

#include <initializer_list>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;

// The tab "Основная информация": identification, counters and the crane's
// usage classification. Every value control is bound by its name to the text
// of MainState with that name; typed edits write back at once.
class ConstTab : public QWidget {
    Q_OBJECT
public:
    // Numbers the tab formats itself (the resource share) use `decimalSeparator`.
    ConstTab(nkp::screen::MainState& state, char decimalSeparator = ',', QWidget* parent = nullptr);

    // Shows the texts and gauges of the state, and the damage warning of the
    // loaded file.
    void refresh();
    // The loaded file's signature status in one line, on `colour`; an empty
    // text hides the line.
    void showSignature(const QString& text, const QColor& colour, const QString& toolTip = {});

    // The value control named `name`, or nullptr.
    QWidget* control(const QString& name) const { return controls_.value(name); }

signals:
    void errorLogRequested();

private:
    QGroupBox *GroupBox7 = nullptr, *GroupBox4 = nullptr, *GroupBox_PP_Izg = nullptr, *GroupBox5 = nullptr;
    QGroupBox *GroupBox_CiklNagr = nullptr, *GroupBox1 = nullptr, *GroupBox3 = nullptr;

    QLineEdit *Edit_Name = nullptr, *Edit_NUd = nullptr, *Edit_DateUd = nullptr, *Edit_Org = nullptr;
    QLineEdit *Edit_DataSch = nullptr, *Edit_MKran = nullptr, *Edit_NKran = nullptr, *Edit_GodIzgot = nullptr;
    QLineEdit *Edit_GrRegNag = nullptr, *Edit_Vlad = nullptr, *Edit_DataUst = nullptr, *Edit_ModTRV = nullptr;
    QLineEdit *Edit_NTRV = nullptr, *Edit_VProg = nullptr, *Edit_IzgotTRV = nullptr, *Edit_HarCh = nullptr;
    QLabel* Edit_IzgotKran = nullptr;
    QLabel *Label_Read1 = nullptr, *Label_Read2 = nullptr, *Label_Read3 = nullptr;
    QLabel *Label_0 = nullptr, *Label_12 = nullptr, *Label_25 = nullptr, *Label_50 = nullptr,
           *Label_100 = nullptr;
    QProgressBar *CGauge_N0 = nullptr, *CGauge_N12 = nullptr, *CGauge_N25 = nullptr, *CGauge_N50 = nullptr,
                 *CGauge_N100 = nullptr;
    QLabel *Label_Per1 = nullptr, *Label_Per2 = nullptr, *Label_Per3 = nullptr, *Label_Per4 = nullptr,
           *Label_Per5 = nullptr;
    QLabel *Label_RezhA = nullptr, *Label_KIspU = nullptr, *Label_RezhQ = nullptr, *Label_QSum = nullptr;
    QLabel *Label_NHarch = nullptr, *Label_KNag = nullptr, *L_TimeAll = nullptr;
    // The share of the normative characteristic number used, coloured by level.
    QLabel* Label_Resource = nullptr;
    // "Файл повреждён: ..." above the group boxes, hidden for a sound file;
    // its link asks for the load error log.
    QLabel* Label_Damage = nullptr;
    // The signature status of the loaded file, under the damage warning.
    QLabel* Label_Signature = nullptr;

    void refreshDamage();
    void refreshResource();
    QGroupBox* buildOperator();
    QGroupBox* buildCrane();
    QGroupBox* buildLimiter();
    QGroupBox* buildReadings();
    QGroupBox* buildCycles();
    QGroupBox* buildOverloads();
    QGroupBox* buildModes();

    // One caption and the edit right of it, `span` columns wide.
    struct EditCell {
        int row, column;
        const char* caption;  // UTF-8
        QLineEdit* ConstTab::*member;
        const char* name;
        int span;
    };
    void addEdits(QGridLayout* grid, std::initializer_list<EditCell> cells);
    QLineEdit* edit(const char* name);
    QLabel* value(const char* name);
    void bindEdits();

    nkp::screen::MainState& state_;
    char decimalSeparator_;
    QHash<QString, QWidget*> controls_;
};
