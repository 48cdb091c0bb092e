// A project-sized check tree and a big one: 10,000 nodes built, the root
// toggled with its whole cascade and the tree repainted, beside Qt's own
// tree widget with auto-tristate items doing the same in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <cstdlib>

#include "support/WexCheckTree.h"
#include "vcl/Forms.h"

using namespace vcl;
using namespace support;

namespace {

constexpr int kBranches = 100;  // under the root, each with kLeaves leaves
constexpr int kLeaves = 99;     // 1 + 100 + 9,900 = 10,001 nodes

struct TreeScene {
  TForm* form;
  TWexCheckTree* tree;
  TreeScene() {
    form = new TForm(Application, 0);
    form->SetClientWidth(300);
    form->SetClientHeight(400);
    tree = new TWexCheckTree(form);
    tree->SetBounds(0, 0, 300, 400);
    tree->SetParent(form);
    form->Show();
  }
  ~TreeScene() { Free(form); }
  void Fill() {
    tree->Items()->BeginUpdate();
    tree->Items()->Clear();
    TTreeNode* root = tree->Items()->Add(nullptr, "root");
    for (int b = 0; b < kBranches; ++b) {
      TTreeNode* branch = tree->Items()->AddChild(root, "branch " + std::to_string(b));
      for (int l = 0; l < kLeaves; ++l) tree->Items()->AddChild(branch, "leaf " + std::to_string(l));
    }
    root->Expand(false);
    tree->Items()->EndUpdate();
    tree->Repaint();
  }
};

void BM_CheckTreeBuild(benchmark::State& state) {
  TreeScene scene;
  for (auto _ : state) scene.Fill();
  state.SetItemsProcessed(state.iterations() * (1 + kBranches * (kLeaves + 1)));
}
BENCHMARK(BM_CheckTreeBuild)->Unit(benchmark::kMillisecond);

void BM_CheckTreeToggleRoot(benchmark::State& state) {
  TreeScene scene;
  scene.Fill();
  TTreeNode* root = scene.tree->Items()->GetFirstNode();
  bool checked = false;
  for (auto _ : state) {
    checked = !checked;
    scene.tree->SetNodeCheckState(root, checked ? csChecked : csUnchecked);
    scene.tree->Repaint();
  }
}
BENCHMARK(BM_CheckTreeToggleRoot)->Unit(benchmark::kMillisecond);

struct QtScene {
  QTreeWidget widget;
  QtScene() {
    widget.resize(300, 400);
    widget.setHeaderHidden(true);
    widget.show();
  }
  void Fill() {
    widget.clear();
    auto* root = new QTreeWidgetItem(&widget, QStringList{"root"});
    root->setFlags(root->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
    root->setCheckState(0, Qt::Unchecked);
    for (int b = 0; b < kBranches; ++b) {
      auto* branch = new QTreeWidgetItem(root, QStringList{QString("branch %1").arg(b)});
      branch->setFlags(branch->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
      branch->setCheckState(0, Qt::Unchecked);
      for (int l = 0; l < kLeaves; ++l) {
        auto* leaf = new QTreeWidgetItem(branch, QStringList{QString("leaf %1").arg(l)});
        leaf->setFlags(leaf->flags() | Qt::ItemIsUserCheckable);
        leaf->setCheckState(0, Qt::Unchecked);
      }
    }
    root->setExpanded(true);
    widget.repaint();
  }
};

void BM_QTreeWidgetBuild(benchmark::State& state) {
  QtScene scene;
  for (auto _ : state) scene.Fill();
  state.SetItemsProcessed(state.iterations() * (1 + kBranches * (kLeaves + 1)));
}
BENCHMARK(BM_QTreeWidgetBuild)->Unit(benchmark::kMillisecond);

void BM_QTreeWidgetToggleRoot(benchmark::State& state) {
  QtScene scene;
  scene.Fill();
  QTreeWidgetItem* root = scene.widget.topLevelItem(0);
  bool checked = false;
  for (auto _ : state) {
    checked = !checked;
    root->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    scene.widget.repaint();
  }
}
BENCHMARK(BM_QTreeWidgetToggleRoot)->Unit(benchmark::kMillisecond);

}  // namespace
