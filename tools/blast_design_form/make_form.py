#!/usr/bin/env python3
"""Writes forms/SmoothBlasting.json, the smooth-blasting design form.

The form is long and repetitive (four input panels laid out as caption-box
rows and hole-row grids, three result blocks of seven columns), so it is
generated from the tables below; the JSON it writes is what the program
embeds. Run from anywhere:

    python3 tools/blast_design_form/make_form.py

Geometry: the form is 885 x 618. The compute and export buttons and the
countdown box sit on the form itself, over the right half of the tab's
header strip; the pages cover the whole tab, header strip included, so
their content starts below the strip on the left and below the buttons
(48 pixels down) on the right. Page 1 uses its top strip for the page
captions only.
Page 0 has the section choice and the input panels on the left, the layout
picture, the cut settings and the status log on the right. Page 1 has the
result tables across the top, the detonator layout editor and the charge
structure below.
"""
import json
import os

FORM = "SmoothBlasting"
PIC = "resources/pictures/blast_design/"
COMMON = "resources/pictures/common/"

controls = []


def add(kind, name=None, rect=None, parent=None, page=None, **props):
    c = {"kind": kind}
    if name:
        c["name"] = name
    if rect is not None:
        c["rect"] = list(rect)
    if parent:
        c["parent"] = parent
    if page is not None:
        c["page"] = page
    c.update(props)
    controls.append(c)
    return c


def caption(text, rect, parent, page=None, **props):
    """An unnamed caption label."""
    return add("Label", None, rect, parent, page, text=text, **props)


def number_box(name, rect, parent, text, page=None, **props):
    return add("EditBox", name, rect, parent, page, text=text, input_mode=10, **props)


SMALL = {"size": 8}
HINT_COLOR = "0x808080"


def two_column_rows(parent, rows, top, pitch, box_w=52):
    """Caption-box pairs, two to a row: [(caption, name, default, events), ...] per row."""
    cols = [(4, 104, 110), (168, 122, 292)]  # caption x, caption width, box x
    for r, row in enumerate(rows):
        y = top + r * pitch
        for (cx, cw, bx), item in zip(cols, row):
            if item is None:
                continue
            text, name, default, events = item
            caption(text, (cx, y + 2, cw, 16), parent)
            box = number_box(name, (bx, y, box_w, 20), parent, default)
            if events:
                box["events"] = events


def one_column_rows(parent, rows, top, pitch):
    for r, (text, name, default) in enumerate(rows):
        y = top + r * pitch
        caption(text, (4, y + 2, 116, 16), parent)
        number_box(name, (120, y, 50, 19), parent, default)


def hole_grid(parent, left, top, pitch, headers, rows, col_w=(58, 58, 58), gaps=(4, 8, 8), row_caption_w=52):
    """Row captions on the left, column captions on top, one box per cell.

    rows: [(row caption, [(name, default, events) or None per column])]"""
    xs = []
    x = left + row_caption_w + gaps[0]
    for i, w in enumerate(col_w):
        xs.append(x)
        x += w + (gaps[i + 1] if i + 1 < len(gaps) else 8)
    for i, h in enumerate(headers):
        wide = i == len(headers) - 1 and len(headers) == 3  # "装药集中度(kg/m)" runs past its box
        caption(h, (xs[i], top, col_w[i] + (42 if wide else 4), 16), parent)
    for r, (row_caption, cells) in enumerate(rows):
        y = top + 18 + r * pitch
        caption(row_caption, (left, y + 2, row_caption_w, 16), parent)
        for i, cell in enumerate(cells):
            if cell is None:
                continue
            name, default, events = cell
            box = number_box(name, (xs[i], y, col_w[i], 20), parent, default)
            if events:
                box["events"] = events
    return xs


# ---- the frame, the tab, and what lies on the form over the tab -------------

add("ShapeBox", "外形框4", (0, 0, 885, 618))
add("Tab", "选择夹1", (0, 0, 883, 616), "外形框4", pages=["爆破参数", "掏槽设置"],
    events={"PageChanged": "SmoothBlastingTabChanged"})

# ---- page 0: 爆破参数 -----------------------------------------------------------

TAB = "选择夹1"
# The pages cover the whole tab, header strip included: the title sits in
# that strip, between the page headers and the buttons.
add("TransLabel", "透明标签1", (166, 2, 170, 22), TAB, 0, text="隧道光面爆破计算",
    font={"size": 14, "bold": True}, text_color="0x804000")
add("Label", "标签7", (372, 48, 504, 16), TAB, 0,
    text="城市浅埋隧道、控制爆破最大单段药量计算，按浅埋控制爆破计算", text_color="0x000080")

# Section choice.
add("ShapeBox", "外形框2", (2, 28, 366, 62), TAB, 0)
caption("隧道工法", (4, 7, 50, 16), "外形框2")
add("ComboBox", "组合框_开挖方法", (56, 4, 78, 22), "外形框2", items=["全断面法", "台阶法"], index=1,
    events={"SelectionChanged": "SmoothBlastingFillSubMethods"})
add("ComboBox", "组合框_方法2", (137, 4, 135, 22), "外形框2", items=["上下2台阶", "上中下3台阶"], index=1,
    events={"SelectionChanged": "SmoothBlastingShowMethodPanels"})
add("RadioBox", "单选框_有仰拱", (274, 1, 60, 16), "外形框2", text="有仰拱", visible=False, group="仰拱",
    events={"Click": "SmoothBlastingSelectInvert"})
add("RadioBox", "单选框_无仰拱", (274, 17, 60, 16), "外形框2", text="无仰拱", visible=False, group="仰拱",
    events={"Click": "SmoothBlastingSelectInvert"})
caption("隧道类别", (4, 37, 50, 16), "外形框2")
add("ComboBox", "组合框_隧道类别", (56, 34, 78, 22), "外形框2", items=["公路隧道", "铁路隧道", "煤矿隧道"], index=0,
    events={"SelectionChanged": "FillTunnelSubclasses"})
add("ComboBox", "组合框_隧道小类", (137, 34, 225, 22), "外形框2",
    items=["正洞机械开挖自卸汽车-无轨", "正洞开挖轻轨斗车运输-轨道", "人工开挖"], index=0,
    events={"SelectionChanged": "SmoothBlastingRefreshChargeFactorTable"})

# The circular panel shares the full-face panel's place. It starts hidden so
# the two never show on top of each other; the split choices switch them.
P4 = "分组框_圆形全断面"
add("GroupBox", P4, (2, 92, 366, 226), TAB, 0, text="圆形立(竖)井计算", visible=False)
two_column_rows(P4, [
    [("隧道开挖面积(m2)", "编辑框4_隧道开挖面积", "26.4", {"ContentChanged": "SmoothBlastingDeriveShaftGeometry"}),
     ("开挖循环进尺（m）", "编辑框4_开挖循环进尺", "1.8", None)],
], 16, 24)
caption("一般为0.8-3.5m", (262, 38, 100, 12), P4, font=SMALL, text_color=HINT_COLOR)
two_column_rows(P4, [
    [("周边眼弧线长(m)", "编辑框4_周边眼外周长", "18.21", None), ("开挖直径（m）", "编辑框4_开挖直径", "5.8", None)],
    [("掏槽眼数量（个）", "编辑框4_掏槽眼数量", "7", None), ("掏槽圈直径（m）", "编辑框4_掏槽圈直径", "2.1", None)],
], 52, 24)
caption("单位体积岩体的耗药量q(kg/m3)", (4, 102, 184, 16), P4)
number_box("编辑框4_单位体积岩体的耗药量", (190, 100, 52, 20), P4, "0.985")
add("Button", "按钮2_掏槽圈查询", (248, 99, 110, 22), P4, text="查圆形掏槽眼",
    events={"Click": "SmoothBlastingLookupCircularCut"})
two_column_rows(P4, [[("岩石夹制力系数", "编辑框4_岩石夹制力系数", "1.2", None), None]], 124, 24)
caption("一般取0.7-2.9", (104, 146, 100, 12), P4, font=SMALL, text_color=HINT_COLOR)
hole_grid(P4, 4, 160, 22, ["间距E(m)", "抵抗线V(m)", "装药集中度(kg/m)"], [
    ("周边眼", [("编辑框4_周边眼间距E", "0.5", {"LostFocus": "SmoothBlastingDeriveCircularBurden"}),
             ("编辑框4_周边眼最小抵抗线V", "0.625", None), ("编辑框4_周边眼装药集中度", "0.125", None)]),
    ("辅助眼", [("编辑框4_辅助眼间距", "0.7", None), ("编辑框4_辅助眼最小抵抗线V", "0.75", None), None]),
])

# Full face or upper bench.
P1 = "分组框_上台阶"
add("GroupBox", P1, (2, 92, 366, 226), TAB, 0, text="上台阶参数")
two_column_rows(P1, [
    [("台阶开挖面积(m2)", "编辑框1_上台阶面积", "72.21", None),
     ("开挖循环进尺(m)", "编辑框1_开挖循环进尺", "2.4", {"ContentChanged": "SmoothBlastingCopyAdvance"})],
    [("周边眼弧线长(m)", "编辑框1_周边眼外弧长", "21.68", None), ("坑道开挖宽度(m)", "编辑框1_坑道开挖宽度", "16.16", None)],
    [("掏槽眼数量（个）", "编辑框1_掏槽眼数量", "12", None), ("岩石夹制力系数F", "编辑框1_岩石夹制力系数", "1.2", None)],
], 18, 24)
caption("单位体积岩体的耗药量q(kg/m3)", (4, 92, 184, 16), P1)
number_box("编辑框1_单位体积岩体的耗药量", (190, 90, 52, 20), P1, "0.6")
add("Button", "按钮1_单位体积岩体的耗药量", (248, 89, 110, 22), P1, text="单体耗药量查询",
    events={"Click": "SmoothBlastingLookupChargeFactor"})
xs = hole_grid(P1, 4, 116, 24, ["间距E(m)", "抵抗线V(m)", "装药集中度(kg/m)"], [
    ("周边眼", [("编辑框1_周边眼间距E", "0.5", None), ("编辑框1_周边眼最小抵抗线V", "0.625", None),
             ("编辑框1_周边眼装药集中度", "0.125", None)]),
    ("辅助眼", [("编辑框1_辅助眼间距", "0.8", None), ("编辑框1_辅助眼最小抵抗线V", "0.8", None), None]),
    ("底板眼", [("编辑框1_底板眼间距", "0.7", None), ("编辑框1_底板眼最小抵抗线", "0.7", None), None]),
])
add("Button", "按钮1_查周边眼参数", (xs[2] + 66, 133, 80, 22), P1, text="查周边眼",
    events={"Click": "SmoothBlastingLookupPerimeterHoles"})

# Middle bench of three, lower bench of two.
P2 = "分组框_中台阶参数表"
add("GroupBox", P2, (2, 320, 366, 138), TAB, 0, text="中台阶参数")
one_column_rows(P2, [
    ("台阶开挖面积(m2）", "编辑框2_断面面积", "45.39"),
    ("开挖循环进尺（m）", "编辑框2_开挖循环进尺", "2.4"),
    ("单侧开挖面外弧长(m)", "编辑框2_开挖面外弧长", "2.74"),
    ("底板长度（m）", "编辑框2_底板长", "16.37"),
    ("岩石夹制力系数F'", "编辑框2_岩石夹制力系数", "0.8"),
    ("炸药工作面系数G", "编辑框2_炸药工作面系数", "0.8"),
], 16, 20)
hole_grid(P2, 176, 16, 22, ["间距E(m）", "抵抗线V(m)"], [
    ("周边眼", [("编辑框2_周边眼间距E", "0.5", {"LostFocus": "SmoothBlastingDerivePerimeterBurden"}),
             ("编辑框2_周边眼抵抗线V", "0.625", None)]),
    ("辅助眼", [("编辑框2_辅助眼间距E", "0.8", None), ("编辑框2_辅助眼抵抗线V2", "0.8", None)]),
    ("底板眼", [("编辑框2_底板眼间距E", "0.7", None), ("编辑框2_底板眼抵抗线V1", "0.7", None)]),
], col_w=(58, 58), gaps=(2, 6), row_caption_w=46)
caption("一般为0.8-3.5m", (176, 106, 150, 14), P2, font=SMALL, text_color=HINT_COLOR)

# Lower bench of three.
P3 = "分组框_下台阶"
add("GroupBox", P3, (2, 460, 366, 128), TAB, 0, text="下台阶参数")
one_column_rows(P3, [
    ("台阶开挖面积(m2)", "编辑框3_断面面积", "37.92"),
    ("开挖循环进尺（m）", "编辑框3_开挖循环进尺", "2.4"),
    ("底板眼区长度（m）", "编辑框3_底板长", "18.69"),
    ("岩石夹制力系数F''", "编辑框3_岩石夹制力系数", "0.8"),
    ("炸药工作面系数G'", "编辑框3_炸药工作面系数", "0.8"),
], 16, 20)
hole_grid(P3, 176, 16, 22, ["间距E(m）", "抵抗线V(m)"], [
    ("辅助眼", [("编辑框3_辅助眼间距E", "0.8", None), ("编辑框3_辅助眼抵抗线V", "0.8", None)]),
    ("底板眼", [("编辑框3_底板眼间距E", "0.6", None), ("编辑框3_底板眼抵抗线V", "0.6", None)]),
], col_w=(58, 58), gaps=(2, 6), row_caption_w=46)
caption("一般为0.8-3.5m", (176, 84, 150, 14), P3, font=SMALL, text_color=HINT_COLOR)

# Layout picture.
add("ShapeBox", "外形框6", (372, 64, 504, 358), TAB, 0)
add("PicBox", "图片框_布眼图", (5, 2, 496, 354), "外形框6", picture=PIC + "layout_start.png",
    events={"LeftButtonDown": "DragPictureBox", "MouseWheel": "WheelZoomPictureBox"})
add("PicBtn", "图形按钮1_打开图片窗口", (470, 6, 28, 28), "外形框6",
    pictures=[PIC + "diagram_button_normal.png", PIC + "diagram_button_hover.png",
              PIC + "diagram_button_pressed.png", PIC + "diagram_button_normal.png"],
    events={"Click": "SmoothBlastingShowDiagram"})

# Cut settings.
C5 = "外形框5"
add("ShapeBox", C5, (372, 424, 504, 102), TAB, 0)
caption("项目采用掏槽形式", (4, 6, 100, 16), C5)
add("EditBox", "编辑框1_采用掏槽形式", (106, 3, 226, 20), C5, text="楔形掏槽(二级复式楔形掏槽)")
add("Button", "按钮1", (338, 2, 104, 22), C5, text="楔形掏槽查询", events={"Click": "SmoothBlastingLookupWedgeCut"})
caption("选取掏槽类型", (4, 28, 120, 16), C5)
add("ListBox", "列表框1", (4, 44, 140, 54), C5, items=["楔形掏槽", "小直径中空直孔掏槽", "大直径中空直孔掏槽"],
    events={"SelectionChanged": "SmoothBlastingFillCutForms"})
caption("选取本项目掏槽形式", (150, 28, 150, 16), C5)
add("ListBox", "列表框2", (150, 44, 170, 54), C5, items=["二级复式楔形掏槽", "三级复式楔形掏槽", "多级复式楔形掏槽"],
    events={"SelectionChanged": "SmoothBlastingComposeCutForm"})
for i, (text, name, default) in enumerate([
        ("掏槽区作用长度(m)", "编辑框1_掏槽区作用长度", "3.2"),
        ("掏槽区作用高度(m)", "编辑框1_掏槽区作用高度", "1.8"),
        ("掘进进尺(m)", "编辑框1_项目采用进尺", "2.4")]):
    caption(text, (326, 30 + 24 * i, 116, 16), C5)
    number_box(name, (444, 28 + 24 * i, 54, 20), C5, default)

add("EditBox", "编辑框_提示", (372, 530, 504, 80), TAB, 0, multiline=True)

# ---- page 1: 掏槽设置 -----------------------------------------------------------

# Result tables: a header row and one block per bench; the frame's grey shows
# through the 1-pixel gaps between the cells as grid lines.
R1 = "外形框1"
add("ShapeBox", R1, (2, 48, 873, 236), TAB, 1, back_color="0x909090")
COLUMNS = [  # (x, width)
    (0, 56), (56, 60), (116, 76), (192, 76), (268, 90), (358, 90), (448, 78),
    (526, 60), (586, 74), (660, 70), (730, 68), (798, 72)]
HEADER = "0xE8E8E8"
WHITE = "0xFFFFFF"
headers = [
    ("标签2", "位置"), ("标签18", "炮眼分类"), ("标签1_炮眼深度", "炮孔深度（m）"),
    ("标签1_炮眼数目", "炮孔数目（个）"), ("标签1_每孔药卷数", "每孔药卷数(卷/孔)"),
    ("标签1_单孔装药量", "单孔装药量(Kg/孔)"), ("标签1_小计药量", "小计药量(Kg)"),
    ("标签1_起爆顺序", "起爆顺序"), ("标签1_雷管段位", "雷管段位"), ("标签1_雷管数", "雷管数量(个)"),
    ("标签1_炮眼数量合计", "炮孔数量合计(个)"), ("标签1_炸药数量合计", "炸药数量合计（kg）")]
for (x, w), (name, text) in zip(COLUMNS, headers):
    add("Label", name, (x + 1, 1, w - 1, 32), R1, text=text, back_color=HEADER, font={"size": 9, "bold": True})

# Result columns: (column word, its x/width index, caption at creation).
RESULT_COLUMNS = [("炮眼深度", 2, " "), ("炮眼数目", 3, " "), ("每孔药卷数", 4, " "), ("单孔装药量", 5, " "),
                  ("小计药量", 6, "-"), ("起爆顺序1", 7, "-"), ("雷管段位", 8, "-")]
ROW_H = 22
BLOCKS = [  # (prefix, frame, frame rect or None, first row top, rows, group caption, count labels, totals)
    ("标签1_", R1, None, 34, ["掏槽眼", "辅助眼", "周边眼", "底板眼"], "上台阶", [1, 2, 3, 4],
     ("标签1_炮眼数量合计1", "标签1_炸药数量合计1")),
    ("标签2_", "外形框_中台阶结果表", (0, 122, 871, 66), 0, ["辅助眼", "周边眼", "底板眼"], "中台阶", [5, 6, 7],
     ("标签2_炮眼数量合计", "标签2_炸药数量合计")),
    ("标签3_", "外形框_下台阶结果表", (0, 188, 871, 44), 0, ["辅助眼", "底板眼"], "下台阶", [8, 9],
     ("标签3_炮眼数量合计", "标签3_炸药数量合计")),
]
for prefix, frame, frame_rect, top, rows, group, counts, totals in BLOCKS:
    if frame_rect:
        add("ShapeBox", frame, frame_rect, R1, back_color="0x909090")
    height = ROW_H * len(rows)
    x, w = COLUMNS[0]
    add("Label", prefix + group, (x + 1, top + 1, w - 1, height - 1), frame,
        text=group, back_color=HEADER)
    for r, row in enumerate(rows):
        y = top + r * ROW_H
        x, w = COLUMNS[1]
        add("Label", None, (x + 1, y + 1, w - 1, ROW_H - 1), frame, text=row, back_color=HEADER)
        for word, col, text in RESULT_COLUMNS:
            x, w = COLUMNS[col]
            add("Label", prefix + row + word, (x + 1, y + 1, w - 1, ROW_H - 1), frame, text=text, back_color=WHITE)
        x, w = COLUMNS[9]
        add("Label", "标签1_雷管数%d" % counts[r], (x + 1, y + 1, w - 1, ROW_H - 1), frame, text="-", back_color=WHITE)
    # Each total sits centred on a background label that fills the block's cell.
    for (col, background), total in zip([(10, prefix + "背景"), (11, prefix + "背景1")], totals):
        x, w = COLUMNS[col]
        add("Label", background, (x + 1, top + 1, w - 1, height - 1), frame, text="", back_color=WHITE)
        add("Label", total, (x + 1, top + (height - 18) // 2, w - 1, 18), frame, text="-", back_color=WHITE)

# Detonator layout editor.
D3 = "外形框3"
add("ShapeBox", D3, (2, 288, 436, 324), TAB, 1)
add("CheckBox", "选择框1", (4, 4, 80, 20), D3, text="自动配置", checked=True,
    events={"Click": "SmoothBlastingToggleAutoLayout"})
caption("雷管选用", (88, 7, 56, 16), D3)
add("ComboBox", "组合框2", (146, 4, 120, 22), D3, items=["延期电雷管", "导爆管雷管", "电雷管+导爆管"], index=2,
    events={"SelectionChanged": "SmoothBlastingShowDetonatorPicture"})
add("Button", "按钮3", (272, 3, 78, 24), D3, text="延时电雷管", events={"Click": "SmoothBlastingLookupElectricDetonators"})
add("Button", "按钮2", (354, 3, 78, 24), D3, text="延时导爆管", events={"Click": "SmoothBlastingLookupNonelDetonators"})
caption("请按部位配置", (4, 32, 122, 16), D3)
caption("雷管段位", (130, 32, 112, 16), D3)
caption("起爆顺序", (246, 32, 60, 16), D3)
caption("加入雷管段位", (312, 32, 118, 16), D3)
HOLE_ROWS = ["上台阶掏槽眼", "      辅助眼", "      周边眼", "      底板眼", "中台阶辅助眼", "      周边眼",
             "      底板眼", "下台阶辅助眼", "      底板眼"]
add("ListBox", "列表框3", (4, 50, 122, 156), D3, items=HOLE_ROWS, disabled=True, back_color="0xC0C0C0",
    events={"SelectionChanged": "SmoothBlastingSelectHoleRow"})
add("ChkListBox", "选择列表框1", (130, 50, 54, 156), D3, items=[str(n) for n in range(1, 30, 2)], disabled=True,
    events={"SelectionChanged": "SmoothBlastingSetDetonatorSegments"})
add("ChkListBox", "选择列表框2", (188, 50, 54, 156), D3, items=[str(n) for n in range(2, 31, 2)], disabled=True,
    events={"SelectionChanged": "SmoothBlastingSetDetonatorSegments"})
add("ListBox", "选择列表框3", (246, 50, 60, 156), D3, items=["%02d" % n for n in range(1, 12)], disabled=True,
    events={"SelectionChanged": "SmoothBlastingSetFiringOrder"})
add("EditBox", "编辑框1", (312, 50, 118, 22), D3, disabled=True)
add("Button", "按钮4", (312, 78, 60, 24), D3, text="重置", events={"Click": "SmoothBlastingResetListsClicked"})
add("PicBox", "图片框2", (4, 212, 190, 106), D3, picture=PIC + "detonator_network.png")

# Charge structure and cartridges.
D7 = "外形框7"
add("ShapeBox", D7, (442, 288, 433, 324), TAB, 1)
caption("装药结构", (4, 7, 56, 16), D7)
add("ComboBox", "组合框1", (62, 4, 170, 22), D7, items=["空气间隔装药", "空气间隔不耦合装药", "不耦合装药"], index=1,
    events={"SelectionChanged": "SmoothBlastingShowChargeStructure"})
add("PicBox", "图片框1", (4, 30, 424, 106), D7, picture=PIC + "charge_structure_start.png")
for i, (text, name, default) in enumerate([
        ("炮眼成孔直径D(mm)", "编辑框1_炮眼钻孔直径", "42"),
        ("装药不耦合系数", "编辑框1_装药不耦合系数", "1.31"),
        ("推算炸药直径(mm)", "编辑框1_计算炸药直径", "32"),
        ("单个药卷重量(g)", "编辑框1_单个药卷重量", "300"),
        ("单个药卷长度(m)", "编辑框1_单个药卷长度", "0.3")]):
    caption(text, (4, 144 + 24 * i, 118, 16), D7)
    number_box(name, (124, 142 + 24 * i, 56, 20), D7, default)
add("Button", "按钮5", (4, 266, 80, 24), D7, text="查炸药", events={"Click": "SmoothBlastingLookupExplosives"})
add("Label", "标签70", (200, 142, 120, 16), D7, text="雷管详图")
add("PicBox", "图片框3", (200, 160, 160, 151), D7, picture=PIC + "detonator_nonel.png")

# ---- on the form, over the tab: compute, export, countdown; invisible helpers --

add("PicBtn", "图形按钮_计算", (340, 1, 117, 45),
    pictures=[COMMON + "compute_normal.png", COMMON + "compute_hover.png", COMMON + "compute_pressed.png",
              COMMON + "compute_disabled.png"],
    events={"Click": "SmoothBlastingCompute"})
add("PicBtn", "图形按钮_导出", (461, 1, 117, 45), disabled=True,
    pictures=[COMMON + "export_normal.png", COMMON + "export_hover.png", COMMON + "export_pressed.png",
              COMMON + "export_disabled.png"],
    events={"Click": "SmoothBlastingExportReport"})
add("PicBox", "进度条倒数", (582, 3, 300, 40), picture=COMMON + "countdown_10.png")
add("Label", "标签1_进度条", (6, 4, 225, 16), "进度条倒数", text="方案导出需要Word2007以上版本！", back_color="0xFAF6F3")
add("ProcessBar", "进度条1", (6, 24, 225, 10), "进度条倒数", min=0, max=100)
add("Q_tip", "气球提示框1")
add("WordApp", "Word程序")
add("WordDocuments", "Word文档集")

# What each number the calculations read may hold: a box outside its domain
# (empty, "-", "-0", not finite, zero or below where the formula needs a
# positive value) gives no results. Areas, lengths, spacings, burdens, the
# cut count and the factors are above zero; the cut zone and the cut circle
# are only taken off an area, so zero is a meaningful size for them. The
# drilling diameter, decoupling factor, explosive diameter and the shaft
# diameter go only into the report, which states them as figures: they are
# read and held to their domains like the rest.
POSITIVE = [
    "编辑框1_上台阶面积", "编辑框1_开挖循环进尺", "编辑框1_周边眼外弧长", "编辑框1_坑道开挖宽度", "编辑框1_掏槽眼数量",
    "编辑框1_岩石夹制力系数", "编辑框1_单位体积岩体的耗药量", "编辑框1_周边眼间距E", "编辑框1_周边眼最小抵抗线V",
    "编辑框1_周边眼装药集中度", "编辑框1_辅助眼间距", "编辑框1_辅助眼最小抵抗线V", "编辑框1_底板眼间距",
    "编辑框1_底板眼最小抵抗线", "编辑框1_单个药卷重量", "编辑框1_单个药卷长度",
    "编辑框1_炮眼钻孔直径", "编辑框1_装药不耦合系数", "编辑框1_计算炸药直径",
    "编辑框2_断面面积", "编辑框2_开挖循环进尺", "编辑框2_开挖面外弧长", "编辑框2_底板长", "编辑框2_岩石夹制力系数",
    "编辑框2_炸药工作面系数", "编辑框2_周边眼间距E", "编辑框2_周边眼抵抗线V", "编辑框2_辅助眼间距E",
    "编辑框2_辅助眼抵抗线V2", "编辑框2_底板眼间距E", "编辑框2_底板眼抵抗线V1",
    "编辑框3_断面面积", "编辑框3_开挖循环进尺", "编辑框3_底板长", "编辑框3_岩石夹制力系数", "编辑框3_炸药工作面系数",
    "编辑框3_辅助眼间距E", "编辑框3_辅助眼抵抗线V", "编辑框3_底板眼间距E", "编辑框3_底板眼抵抗线V",
    "编辑框4_隧道开挖面积", "编辑框4_开挖循环进尺", "编辑框4_周边眼外周长", "编辑框4_开挖直径", "编辑框4_掏槽眼数量",
    "编辑框4_岩石夹制力系数", "编辑框4_单位体积岩体的耗药量", "编辑框4_周边眼间距E", "编辑框4_周边眼最小抵抗线V",
    "编辑框4_周边眼装药集中度", "编辑框4_辅助眼间距", "编辑框4_辅助眼最小抵抗线V",
]
NON_NEGATIVE = ["编辑框1_掏槽区作用长度", "编辑框1_掏槽区作用高度", "编辑框4_掏槽圈直径"]
domains = {name: ">0" for name in POSITIVE}
domains.update({name: ">=0" for name in NON_NEGATIVE})

form = {
    "name": FORM, "title": "", "width": 885, "height": 618, "border": "none",
    "events": {"Created": "SmoothBlastingFormCreated"},
    "domains": domains,
}

names = [c["name"] for c in controls if "name" in c]
assert len(names) == len(set(names)), "duplicate control names"
assert all(name in names for name in domains), "domain of an unknown box"

root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
out = os.path.join(root, "forms", FORM + ".json")
with open(out, "w", encoding="utf-8") as f:
    head = json.dumps(form, ensure_ascii=False)[:-1]
    f.write(head + ', "controls": [\n')
    f.write(",\n".join("  " + json.dumps(c, ensure_ascii=False) for c in controls))
    f.write("\n]}\n")
print("%s: %d controls, %d named" % (out, len(controls), len(names)))
