% 土方放坡开挖允许最大安全高度计算书. Every 计算值_ name below is replaced,
% when the report is exported, by a figure of the last calculation: the
% inputs as the formula took them, the formula's value and the conclusion;
% each stands here at most five times, as often as the export replaces it.
% 计算值_…式 is the sign before a worked result: "=", or "≈" where printing
% the result changed the figure the calculation worked out.
!title 土方放坡开挖允许最大安全高度计算书

!titlepage
土方放坡开挖允许最大安全高度计算书
工程名称：________________________
编制：________________
复核：________________
审核：________________
日期：________年____月____日
!end

= 土方放坡开挖允许最大安全高度计算书

# 一、计算依据
1. 《建筑施工计算手册》（第四版）土方工程；
2. 《建筑边坡工程技术规范》（GB 50330）；
3. 《建筑基坑支护技术规程》（JGJ 120）；
4. 本工程岩土工程勘察报告及施工组织设计。

# 二、计算原理
在粘性土中放坡开挖时，假定边坡沿通过坡脚的平面滑动，滑动面与水平面的夹角为 α。滑动土楔在自重 W 作用下沿滑动面下滑，抗滑力由滑动面上的粘聚力和摩擦力提供；当 α = (θ + ψ)/2 时滑动土楔处于最危险状态，由其极限平衡条件求得边坡允许的最大高度 hmax。本式仅适用于坡度角 θ 大于内摩擦角 ψ 的边坡。

# 三、计算参数
| 参数 | 符号 | 取值 | 单位 |
|:---|:---:|:---:|:---:|
| 土的重度 | γ | 计算值_土的重度 | kN/m³ |
| 土的内摩擦角 | ψ | 计算值_土的摩擦角 | ° |
| 土的粘聚力 | c | 计算值_土的粘聚力 | kN/m² |
| 边坡的坡度角 | θ | 计算值_边坡坡度角 | ° |

# 四、计算公式
边坡允许最大高度按下式计算：
$ h_{max} = \frac{2c·"sin"θ·"cos"ψ}{γ·"sin"^{2}{\frac{θ-ψ}{2}}}
!optional
代入数值：
$ h_{max} = \frac{2×计算值_土的粘聚力×"sin"计算值_边坡坡度角°×"cos"计算值_土的摩擦角°}{计算值_土的重度×"sin"^{2}{\frac{计算值_边坡坡度角°-计算值_土的摩擦角°}{2}}} 计算值_计算高度式 计算值_计算高度 "m"
!end
式中：
hmax —— 边坡允许最大高度（m）；
γ —— 土的重度（kN/m³），取 计算值_土的重度；
c —— 土的粘聚力（kN/m²），取 计算值_土的粘聚力；
ψ —— 土的内摩擦角（°），取 计算值_土的摩擦角；
θ —— 边坡的坡度角（°），取 计算值_边坡坡度角。

# 五、计算结论
计算值_结论
