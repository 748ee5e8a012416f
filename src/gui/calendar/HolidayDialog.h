#pragma once

#include "calendar/Holidays.h"

#include <QDialog>

#include <initializer_list>

class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace zx {

struct AppContext;

// The holiday settings frmfeiertage: the holiday library (lst_Feiertage with txt_Feiertag,
// Opt_fest/Opt_frei/Opt_Ostern, Cbo_Wochentag, cbo_tagnummer, cbo_monat, HSb_oster_distanz with
// lbl_oster_distanz, lbl_Feiertage, cmd_add_Feiertage, cmd_ren_Feiertage, cmd_del_Feiertage), the
// holiday file (cbo_Ft_datei: the language's or another country's), the sets (cbo_sets,
// lst_set_Feiertage, cmd_add_set, cmd_del_set, cmd_ren_set, cmd_add_to_set, cmd_remove_from_set) and the
// years for free holidays (fra_wieviel_freie_Ft with cbo_wieviel_freie_Ft). Leaving through
// cmd_ft_end (or Escape) writes the language's holiday file when the library changed.
class HolidayDialog : public QDialog {
    Q_OBJECT
  public:
    explicit HolidayDialog(AppContext &ctx, QWidget *parent = nullptr);

    void addHoliday();
    // Renames the chosen holiday after asking for the name and confirming.
    void renameHoliday();
    void deleteHoliday();
    // Makes another holiday file of the working directory the library, after writing the
    // changes of the present one.
    void chooseFile(int index);
    void addSet();
    void deleteSet();
    void renameSet();
    void addToSet();
    void removeFromSet();
    // Writes the file if the library changed, then closes.
    void leave();

    // Escape and the window's close button leave as Exit does.
    void reject() override;

  private:
    QLayout *buildHolidayFields();
    QLayout *buildHolidayList();
    QLayout *buildSetColumn();
    QLayout *buttonColumn(std::initializer_list<QPushButton *> buttons);
    QLayout *buildBottomRow();
    void connectControls();
    void fillHolidays(int select);
    void fillFiles();
    void fillSets(int select);
    void fillMembers();
    void showHoliday(int index);
    void kindChosen();
    void monthChosen();
    void refreshEasterLabel();
    void refreshButtons();
    bool save(QString *error);
    // Writes the changes; when they cannot be written, says so and asks again until they are
    // written or the user discards them. False: the user wants to stay in the dialog.
    bool saveOrDiscard();

    AppContext &ctx_;
    HolidayLibrary atOpen_;
    QLineEdit *name_;
    QListWidget *holidays_;
    QLabel *description_;
    QRadioButton *fixed_, *free_, *easter_;
    QComboBox *weekday_, *day_, *month_;
    QScrollBar *easterCode_;
    QLabel *easterLabel_;
    QPushButton *add_, *rename_, *delete_;
    QComboBox *file_;
    QComboBox *sets_;
    QListWidget *members_;
    QPushButton *addSet_, *deleteSet_, *renameSet_, *addToSet_, *removeFromSet_;
    QGroupBox *freeYearsFrame_;
    QComboBox *freeYears_;
    QPushButton *exit_;
};

} // namespace zx
