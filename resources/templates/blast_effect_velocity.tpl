% 爆破影响方案（振速计算）. Every control name below is replaced by the shown
% text of that control when the report is exported (组合框5 its chosen
% item); each stands here at most twice. 计算值_… are what the calculation
% worked out beyond the boxes: the sign before the rounded velocity, the
% velocity as judged ("= " and the box's figure, or "≈ " and the worked one
% where the rounded figure would read the other way), the limit it was
% judged against and how it compares. A line marked ? is left
% out when one of its values is empty or "-".
!title 爆破影响方案

!titlepage
爆破影响方案
爆破振动速度计算及安全评价
工程名称：________________________________
编制：________________
复核：________________
审批：________________
日期：________年____月____日
!end

= 爆破影响方案

# 一、编制依据
1. 《爆破安全规程》（GB 6722-2014）；
2. 《土方与爆破工程施工及验收规范》（GB 50201）；
3. 本工程爆破设计文件、施工组织设计及周边建（构）筑物调查资料。

# 二、计算原理
爆破产生的地震波传至被保护建（构）筑物所在地时，以其质点振动速度衡量爆破振动的影响。质点振动速度按萨道夫斯基公式计算：
$ V = K·(\frac{Q^{1/3}}{R})^{α}
式中 V —— 保护对象所在地的质点振动速度（cm/s）；
K —— 与岩石性质、地势高低、爆破方法和爆破条件有关的系数，坚硬岩石50～150，中硬岩石150～250，软岩石250～350；
α —— 爆破地震波随距离衰减的指数，坚硬岩石1.3～1.5，中硬岩石1.5～1.8，软岩石1.8～2.0；
Q —— 炸药量（kg），齐发爆破为总药量，分段（延时）爆破为最大一段药量；
R —— 自爆源至被保护建（构）筑物的距离（m）。

# 三、计算
代入本工程参数：
$ V = 编辑框5_系数K × (\frac{{编辑框5_炸药总量}^{1/3}}{编辑框5_距离R})^{编辑框5_衰减系数} 计算值_等号 编辑框5_振动速度 "cm/s"

# 四、安全评价
?被保护对象为组合框5，按《爆破安全规程》（GB 6722-2014），其安全允许质点振动速度为 编辑框5_规范临界值，验算取其上限 [V] = 计算值_允许振速 cm/s。
?计算所得质点振动速度 V 计算值_评价振速 cm/s 计算值_比较 [V] = 计算值_允许振速 cm/s，评价结果：编辑框13_评价结果
?计算值_未评价

# 五、控制爆破振动的措施
1. 严格控制一次起爆的最大药量，采用分段（延时）起爆，各段间隔时间不小于50ms；
2. 采用预裂爆破、减震沟等隔振措施，降低爆破地震波向保护对象的传播；
3. 优化炮孔布置和装药结构，减小单孔装药量；
4. 爆破时对保护对象进行振动监测，根据实测数据修正K、α值，及时调整爆破参数。
