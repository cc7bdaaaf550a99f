// The category tree control: position values, stale handles, calls from a
// worker thread, the left view's columns, double-click to a tab, images.
#include <atomic>
#include <set>
#include <thread>

#include <QHeaderView>
#include <QTest>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "tasks/velkor_left_tree_ctrl.h"
#include "ui/main_frame.h"
#include "ui/velkor_left_view.h"
#include "ui/velkor_right_view.h"

using velkor::CVelkorCtrlCtrl;
using velkor::CVelkorCtrlItem;
using velkor::kItemLast;
using velkor::kItemRoot;

namespace {

QStringList ChildTexts(const QTreeWidgetItem* parent) {
  QStringList texts;
  for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
  return texts;
}

QByteArray Bytes(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

}  // namespace

class TreeCtrlTest : public QObject {
  Q_OBJECT

 private slots:
  void positionValuesPlaceItems() {
    CVelkorCtrlCtrl tree;
    tree.InsertColumn(QStringLiteral("对象名称"), 0);
    QVERIFY(!tree.GetRootItem());
    const CVelkorCtrlItem root = tree.InsertItem(QStringLiteral("image"), kItemRoot, kItemLast);
    QVERIFY(root);
    const CVelkorCtrlItem a = tree.InsertItem(QStringLiteral("a"), root, kItemLast);
    tree.InsertItem(QStringLiteral("c"), root, kItemLast);
    tree.InsertItem(QStringLiteral("b"), root, a);  // after a sibling
    QCOMPARE(tree.GetRootItem(), root);
    QCOMPARE(tree.GetItemCount(), 4);
    QCOMPARE(ChildTexts(tree.topLevelItem(0)), (QStringList{"a", "b", "c"}));
    QCOMPARE(tree.GetItemText(root, 0), QStringLiteral("image"));
  }

  void insertRefusesWhatNamesNothing_data() {
    QTest::addColumn<quint64>("parent");
    QTest::addColumn<quint64>("after");
    QTest::newRow("unknown parent") << quint64{12345} << quint64{kItemLast.handle};
    QTest::newRow("null parent") << quint64{0} << quint64{kItemLast.handle};
    QTest::newRow("unknown position") << quint64{kItemRoot.handle} << quint64{999};
  }

  void insertRefusesWhatNamesNothing() {
    QFETCH(quint64, parent);
    QFETCH(quint64, after);
    CVelkorCtrlCtrl tree;
    tree.InsertColumn(QStringLiteral("x"), 0);
    tree.InsertItem(QStringLiteral("root"), kItemRoot, kItemLast);
    QVERIFY(
        !tree.InsertItem(QStringLiteral("new"), CVelkorCtrlItem{parent}, CVelkorCtrlItem{after}));
    QCOMPARE(tree.GetItemCount(), 1);
  }

  void handleOfADeletedItemChangesNothing() {
    CVelkorCtrlCtrl tree;
    tree.InsertColumn(QStringLiteral("x"), 0);
    tree.InsertColumn(QStringLiteral("y"), 0);
    const CVelkorCtrlItem root = tree.InsertItem(QStringLiteral("root"), kItemRoot, kItemLast);
    tree.DeleteAllItems();
    QCOMPARE(tree.GetItemCount(), 0);
    tree.SetItemText(root, QStringLiteral("late"), 1);
    tree.SetItemImage(root, 1, 1, 1, 1);
    tree.SetItemTextColor(root, qRgb(1, 2, 3));
    tree.Expand(root, velkor::kExpandShow);
    QVERIFY(!tree.InsertItem(QStringLiteral("child"), root, kItemLast));
    QCOMPARE(tree.GetItemText(root, 0), QString());
    QCOMPARE(tree.topLevelItemCount(), 0);
  }

  void workerFillsWhileTheUiThreadReads() {
    CVelkorCtrlCtrl tree;
    for (int column = 0; column < 3; ++column) tree.InsertColumn(QString::number(column), 0);
    constexpr int kChildren = 300;
    std::atomic<bool> done{false};
    CVelkorCtrlItem root;
    std::thread worker([&] {
      for (int round = 0; round < 3; ++round) {
        tree.DeleteAllItems();
        root = tree.InsertItem(QStringLiteral("image"), kItemRoot, kItemLast);
        for (int i = 0; i < kChildren; ++i) {
          const CVelkorCtrlItem child = tree.InsertItem(QString::number(i), root, kItemLast);
          tree.SetItemText(child, QStringLiteral("0x01"), 2);
          tree.SetItemImage(child, 0, 0, 0, 0);
        }
        tree.Expand(root, velkor::kExpandShow);
      }
      done.store(true);
    });
    int reads = 0;
    while (!done.load()) {
      // The count and the root are always a consistent view of the tree.
      const int count = tree.GetItemCount();
      QVERIFY(count >= 0 && count <= kChildren + 1);
      if (count > 0) QVERIFY(tree.GetRootItem());
      QCoreApplication::processEvents();
      ++reads;
    }
    worker.join();
    QCOMPARE(tree.GetItemCount(), kChildren + 1);
    QCOMPARE(tree.GetRootItem(), root);
    QVERIFY(tree.topLevelItem(0)->isExpanded());
    QVERIFY(reads > 0);
  }

  void leftViewHasFiveColumnsSizedByWidth() {
    velkor::CVelkorLeftView view(400);
    velkor::CVelkorLeftTreeCtrl& tree = view.TreeCtrl();
    QCOMPARE(tree.GetColumnCount(), 5);
    QStringList headers;
    for (int column = 0; column < 5; ++column) headers << tree.headerItem()->text(column);
    QCOMPARE(headers, (QStringList{"对象名称", "属性", "文件系统", "开始", "大小"}));
    QCOMPARE(tree.columnWidth(0), 200);
    QCOMPARE(tree.columnWidth(4), 50);
    view.resize(640, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(tree.columnWidth(0), 320);
    QCOMPARE(tree.columnWidth(1), 80);
    QCOMPARE(tree.columnWidth(4), 80);
  }

  void doubleClickBringsTheCategoryTab_data() {
    QTest::addColumn<QString>("flag");
    QTest::addColumn<int>("tab");
    QTest::newRow("短信箱") << "0x01" << 0;
    QTest::newRow("微信") << "0x80" << 7;
    QTest::newRow("QQ") << "0x200" << 9;
    QTest::newRow("文件系统") << "0xFFFFFFFF" << 10;
    QTest::newRow("case matters") << "0xffffffff" << 5;
    QTest::newRow("root has none") << "" << 5;
  }

  void doubleClickBringsTheCategoryTab() {
    QFETCH(QString, flag);
    QFETCH(int, tab);
    velkor::CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    velkor::CVelkorLeftTreeCtrl& tree = *frame.TaskController();
    const CVelkorCtrlItem root = tree.InsertItem(QStringLiteral("image"), kItemRoot, kItemLast);
    const CVelkorCtrlItem item = tree.InsertItem(QStringLiteral("category"), root, kItemLast);
    tree.SetItemText(item, flag, 2);
    tree.Expand(root, velkor::kExpandShow);
    frame.RightView()->SetActiveTab(5);
    QTreeWidgetItem* widgetItem = tree.topLevelItem(0)->child(0);
    const QPoint at = tree.visualItemRect(widgetItem).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(frame.RightView()->ActiveTab(), tab);
  }

  // Sixteen 16 x 16 tree images and the eleven 48 x 48 toolbar icons, each
  // drawn differently from the others.
  void imagesAreDistinctPictures() {
    QList<QPixmap> images;
    for (int index = 0; index < velkor::kTreeImageCount; ++index) {
      images << velkor::TreeImage(index);
      QCOMPARE(images.constLast().size(), QSize(16, 16));
    }
    QCOMPARE(images.size(), 16);
    QVERIFY(velkor::TreeImage(velkor::kTreeImageCount).isNull());
    for (const int id : velkor::ToolbarCommandIds()) {
      images << velkor::ToolbarIcon(id).pixmap(48, 48);
      QCOMPARE(images.constLast().size(), QSize(48, 48));
    }
    std::set<QByteArray> seen;
    for (const QPixmap& image : images) QVERIFY(seen.insert(Bytes(image)).second);
  }
};

QTEST_MAIN(TreeCtrlTest)
#include "tree_ctrl_test.moc"
