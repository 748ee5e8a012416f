#include "output/PrintDriver.h"

#include "model/Model.h"
#include "platform/PrintSink.h"

namespace zx::output {

namespace {

// Puts the shown list, set and filter back as the main window had them.
class ViewGuard {
  public:
    explicit ViewGuard(Model &model)
        : model_(model), listView_(model.ListView), set_(model.CurrentSet), filterOn_(model.FilterOn)
    {
    }
    ~ViewGuard()
    {
        model_.ListView = listView_;
        model_.CurrentSet = set_;
        model_.FilterOn = filterOn_;
    }
    ViewGuard(const ViewGuard &) = delete;
    ViewGuard &operator=(const ViewGuard &) = delete;

    int listView() const { return listView_; }
    int set() const { return set_; }
    bool filtered() const { return filterOn_ != 0; }

  private:
    Model &model_;
    int listView_;
    int set_;
    int filterOn_;
};

} // namespace

bool AstroListPrintable(const Model &model)
{
    return model.device.Uhrentyp == TypeAstro;
}

std::vector<PrintedList> CollectPrintJob(Model &model, PrintSettings &settings, const ListOptions &options)
{
    std::vector<PrintedList> lists;
    const ViewGuard guard(model);
    bool *const flags[] = {&settings.switching, &settings.priority, &settings.changeover, &settings.astro};
    for (int kind = ListSwitching; kind <= ListAstro; ++kind) {
        bool &flag = *flags[kind];
        if (!flag)
            continue;
        flag = false;
        if (kind == ListAstro && !AstroListPrintable(model))
            continue;
        model.ListView = kind;
        model.CurrentSet = SetProgram;
        model.FilterOn = 0;
        lists.push_back(
            LayoutList(model, kind, SetProgram, views::BuildList(model, kind, SetProgram, options), false));
    }
    if (settings.currentView) {
        settings.currentView = false;
        model.ListView = guard.listView();
        model.CurrentSet = guard.set();
        model.FilterOn = guard.filtered() ? -1 : 0;
        lists.push_back(LayoutList(model, guard.listView(), guard.set(),
                                   views::BuildList(model, guard.listView(), guard.set(), options),
                                   guard.filtered()));
    }
    return lists;
}

QString PrintLists(const std::vector<PrintedList> &lists, PrintSink &sink)
{
    for (const PrintedList &list : lists) {
        // What fits on the sink's paper can break pages before the header interval does.
        const int fit = sink.rowsPerPage(list);
        bool printed = false;
        if (fit > 0) {
            PrintedList paged = list;
            paged.pages = PageRanges(static_cast<int>(list.rows.size()), list.headerInterval, fit);
            printed = sink.printList(paged);
        } else {
            printed = sink.printList(list);
        }
        if (!printed)
            return sink.errorText();
    }
    if (!sink.finish())
        return sink.errorText();
    return {};
}

} // namespace zx::output
