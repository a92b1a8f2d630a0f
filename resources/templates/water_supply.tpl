% 隧道高压供水计算书。Every control name below is replaced by the shown text
% of that control when the report is exported; each stands here at most four
% times, the water source's item once. The equipment pressure is not printed:
% the report gives the head h that follows from it. The 计算值_ values are
% what the calculation decided: the volume formula only where the source
% gives less than the demand (its block is left out otherwise), the small
% balancing tank only where it gives more.
% 计算值_…式 is the sign before a worked result: "=", or "≈" where printing
% the result changed the figure the calculation worked out.
!title 隧道高压供水计算

!titlepage
隧道高压供水计算书
编制：________________
复核：________________
审核：________________
日期：________年____月____日
!end

= 隧道高压供水计算

# 一、工程概况
请自行添加！

# 二、计算依据
《简明施工计算手册》。

# 三、水池位置计算
隧道施工采用高位水池自流供水。配水点要求水头按洞内设备所需水压换算（1 MPa 折合 100 m 水头），h = 编辑框_配水点要求水头 m。
$ H = 1.2h + α·h_{f} = 1.2 × 编辑框_配水点要求水头 + 编辑框_水头损失系数 × 编辑框_管道内水头损失 计算值_水池高差式 编辑框_水池高差 "m"
式中：H—水池位置至配水点的高差（m）；h—配水点要求的水头（m）；α—水头损失系数；h_{f}—管道内的水头损失（m），按管材、管径和流量查表确定，本工程取 编辑框_管道内水头损失 m。

# 四、水池容积计算
## 4.1 生活用水量
$ Q_{s} = \frac{M_{s}·s + M_{f}·f}{24} = \frac{编辑框_生产工人 × 编辑框_用水系数生产工人 + 编辑框_非生产工人 × 编辑框_用水系数非生产工人}{24} 计算值_生活用水量式 编辑框_生活用水量 "m³/h"
式中：Q_{s}—生活用水量（m³/h）；M_{s}—生产工人数（人）；s—生产工人用水系数（m³/人·d）；M_{f}—非生产工人数（人）；f—非生产工人用水系数（m³/人·d）。
## 4.2 水池容积
本工程水源流量组合框_水源流量。
!optional
水源流量小于用水量时，水池容积按下式计算。本工程昼夜用水量计算值_昼夜用水量，贮水系数C取 编辑框_贮水系数，调节系数α_{1}取 编辑框_调节系数，生产用水量Q_{c} = 编辑框_生产用水量 m³/h：
$ V = α_{1}·C·(Q_{s} + Q_{c})·24 = 编辑框_调节系数 × 编辑框_贮水系数 × (编辑框_生活用水量 + 编辑框_生产用水量) × 24 计算值_水池容积式 编辑框_水池容积 "m³"
式中：V—水池容积（m³）；α_{1}—调节系数，取1.10~1.20；C—贮水系数，为水池容量与昼夜用水量之比，昼夜用水量小于1000m³时采用1/4~1/6，1000~2000m³时采用1/6~1/8；Q_{s}—生活用水量（m³/h）；Q_{c}—生产用水量（m³/h）。
!end
?计算值_自流供水
本工程需水池容积 V = 编辑框_水池容积 m³。

# 五、水泵扬程计算
$ H' = α·H = 编辑框_水头损失系数 × 编辑框_水池高差 计算值_水泵扬程式 编辑框_水泵扬程 "m"
式中：H'—水泵扬程（m）；α—水头损失系数；H—水池位置至配水点的高差（m）。

# 六、计算结果
| 项目 | 计算值 | 单位 |
|:---|:---:|:---:|
| 水池位置至配水点的高差H | 编辑框_水池高差 | m |
| 水泵扬程H' | 编辑框_水泵扬程 | m |
| 生活用水量Q_{s} | 编辑框_生活用水量 | m³/h |
| 需水池容积V | 编辑框_水池容积 | m³ |
