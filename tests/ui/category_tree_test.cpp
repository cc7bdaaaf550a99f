// The category tree: the pane's columns, double-click to a tab, the images.
#include <set>

#include <QTest>

#include "res/icons.h"
#include "res/menu_resources.h"
#include "ui/category_pane.h"
#include "ui/category_tree.h"
#include "ui/main_window.h"
#include "ui/result_pane.h"

namespace {

QByteArray Bytes(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage();
  return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

}  // namespace

class CategoryTreeTest : public QObject {
  Q_OBJECT

 private slots:
  void paneHasFiveColumnsSizedByWidth() {
    velkor::CategoryPane pane(400);
    velkor::CategoryTree& tree = pane.Tree();
    QCOMPARE(tree.columnCount(), 5);
    QStringList headers;
    for (int column = 0; column < 5; ++column) headers << tree.headerItem()->text(column);
    QCOMPARE(headers, (QStringList{"对象名称", "属性", "文件系统", "开始", "大小"}));
    QCOMPARE(tree.columnWidth(0), 200);
    QCOMPARE(tree.columnWidth(4), 50);
    pane.resize(640, 300);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
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
    velkor::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    velkor::CategoryTree& tree = window.Categories();
    auto* root = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("image")});
    auto* item = new QTreeWidgetItem(root, QStringList{QStringLiteral("category"), {}, flag});
    root->setExpanded(true);
    window.Results().SetActiveTab(5);
    const QPoint at = tree.visualItemRect(item).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(window.Results().ActiveTab(), tab);
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

QTEST_MAIN(CategoryTreeTest)
#include "category_tree_test.moc"
