// The activity list: a list view over a line model, behind the window logic's list box.
#pragma once

#include <QListView>
#include <QPointer>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "qt/line_list_model.h"

namespace qlok::qt {

class QtListBox final : public ListBox {
  public:
    // Creates the view as a child of parent (or as its own window without one).
    explicit QtListBox(QWidget* parent = nullptr);
    ~QtListBox() override;
    QtListBox(const QtListBox&) = delete;
    QtListBox& operator=(const QtListBox&) = delete;

    void Clear() override;
    void AddItem(const std::string& line) override;
    void SetItems(TextLines lines) override;
    int NewIndex() const override;
    void SetTopIndex(int index) override;

    // The view that shows the lines.
    QListView& View() const { return *view_; }
    // The lines behind the view.
    LineListModel& Model() { return model_; }
    // The pixels the line takes drawn in the list, its margins included.
    int ShownWidth(const std::string& line) const;
    // Called once per left click on a line and once per selection change by the keyboard, after
    // the event that caused it; other buttons neither select nor click, and changes made through
    // this class never call it.
    void SetClickHandler(std::function<void()> handler) { onClick_ = std::move(handler); }

  private:
    class MouseFilter;

    void RaiseClick();

    LineListModel model_;
    QListView* view_;            // never null while this box lives
    QPointer<QListView> owned_;  // null once a parent widget has deleted the view
    std::function<void()> onClick_;
    bool updating_ = false;      // our own changes are no user action
    bool clickPending_ = false;  // one queued click per action
};

}  // namespace qlok::qt
