#pragma once

#include <QTreeView>
#include <QWidget>

class CParameterTable;
class CMyProperty;
class CPropertyGridModel;
class CPropertyGridDelegate;

// The tree part of the grid: the value cell is edited whichever cell of a row is current,
// and Enter opens the editor as F2 does.
class CPropertyTreeView final : public QTreeView {
    Q_OBJECT
  public:
    explicit CPropertyTreeView(QWidget* parent = nullptr);
    // Ends an open in-place edit, keeping what was typed.
    void CommitOpenEdit();

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The margin left of the names takes the group colour, as the group rows do.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    void resizeEvent(QResizeEvent* event) override;
};

// The strip under the grid with the selected row's name and description.
class CPropertyDescription final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRows = 5;
    explicit CPropertyDescription(QWidget* parent = nullptr);
    void SetTexts(const QString& name, const QString& description);
    const QString& Name() const { return m_name; }
    const QString& Description() const { return m_description; }
    void SetColors(const QColor& back, const QColor& text);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_name;
    QString m_description;
    QColor m_back;
    QColor m_text;
};

// The settings grid: the parameter table's groups and rows in two columns, modified rows
// in bold, and the description area below.
class CPropertyGrid final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kNameColumnPercent = 65;

    explicit CPropertyGrid(CParameterTable& table, QWidget* parent = nullptr);
    ~CPropertyGrid() override;

    // The table was rebuilt.
    void Reset();
    void ExpandAll();
    void CollapseAll();
    // While frozen the grid shows what it showed and takes no edits.
    void Freeze();
    void Thaw();

    CPropertyGridModel* Model() const { return m_model; }
    CPropertyTreeView* View() const { return m_view; }
    CPropertyDescription* DescriptionArea() const { return m_description; }
    CPropertyGridDelegate* Delegate() const { return m_delegate; }

  private:
    void OnCurrentChanged(const QModelIndex& current);
    void SpanGroups();

    CPropertyGridModel* m_model;
    CPropertyGridDelegate* m_delegate;
    CPropertyTreeView* m_view;
    CPropertyDescription* m_description;
};
