% 爆破影响单段最大炸药量计算. Every control name below is replaced by the shown text of
% that control when the report is exported (组合框5 its chosen item); each
% stands here at most twice. 计算值_… are what the calculation worked out
% beyond the boxes: the sign before the rounded result, the limit the
% velocity used was judged against and how it compares, and the result as
% the conclusion states it, which is empty (and its line left out) when
% that velocity exceeds the limit; 计算值_超限 is the limit only then. A
% line marked ? is left out when one of its values is empty or "-".
!title 爆破影响单段最大炸药量计算

!titlepage
爆破影响单段最大炸药量计算
单段（一次）最大允许起爆药量计算书
工程名称：________________________________
编制：________________
复核：________________
审批：________________
日期：________年____月____日
!end

= 爆破影响单段最大炸药量计算

# 一、编制依据
1. 《爆破安全规程》（GB 6722-2014）；
2. 《土方与爆破工程施工及验收规范》（GB 50201）；
3. 本工程爆破设计文件、施工组织设计及周边建（构）筑物调查资料。

# 二、计算原理
由萨道夫斯基公式 V = K·(Q^{1/3}/R)^{α} 求得，在爆源至被保护建（构）筑物的距离一定时，保护对象所在地质点振动速度不超过安全允许值的单段（一次）最大允许起爆药量：
$ Q = R^{3}·(\frac{V}{K})^{\frac{3}{α}}
式中 Q —— 齐发爆破为总药量，分段（延时）爆破为最大一段药量（kg）；
R —— 自爆源至被保护建（构）筑物的距离（m）；
V —— 计算所取的质点振动速度（cm/s），不应大于保护对象所在地的安全允许质点振动速度 [V]；
K、α —— 与爆破点至保护对象间的地形、地质条件有关的系数和衰减指数。

# 三、计算
代入本工程参数：
$ Q = {编辑框5_距离R}^{3} × (\frac{编辑框5_振动速度}{编辑框5_系数K})^{\frac{3}{编辑框5_衰减系数}} 计算值_等号 编辑框5_炸药总量 "kg"

# 四、安全评价
?被保护对象为组合框5，按《爆破安全规程》（GB 6722-2014），其安全允许质点振动速度为 编辑框5_规范临界值，验算取其上限 [V] = 计算值_允许振速 cm/s。
?计算所取质点振动速度 V = 编辑框5_振动速度 cm/s 计算值_比较 [V] = 计算值_允许振速 cm/s，评价结果：编辑框13_评价结果
?计算值_未评价

# 五、结论
?单段（一次）起爆药量不应大于 计算值_允许药量 kg；齐发爆破总药量超过此值时，应改为分段（延时）起爆，使最大一段药量不超过此值。
?计算所取振速超过保护对象的安全允许振速 [V] = 计算值_超限 cm/s，上述药量不能作为单段（一次）最大允许起爆药量；应按不大于 [V] 的振速重新计算。
