% Used by tests/test_docx*.cpp: each placeholder below stands for one way a
% placeholder can sit in a document. Not a real report.
!title 引擎测试计算书

!titlepage
引擎测试计算书
工程名称：编辑框_工程
!end

= 管片计算

# 一、基本参数
% 编辑框1_d0 is split over three runs (the middle one bold), and stands
% before 编辑框1_d, a prefix of it, in the same paragraph.
管片外径 编**辑框1_**d0 m，内径 编辑框1_d m。
% the first run of this match is bold: the value is bold as well
计算结果为 **标签1**_结果，满足要求。

# 二、计算表
| 项目 | 数值 | 单位 |
|:---|:---:|:---:|
| 外径 | 编辑框1_d0 | m |
| 结果 | 标签1_结果 | kN |
| 厚度 | [[厚度表]] | mm |

!table 厚度表
| 设计 | 编辑框2_h |
| 最小 | 标签2_hmin |
!end

# 三、公式
% in a superscript base, and split over an italic and an upright run
$ A = \frac{π {编辑框1_d0}^{2}}{4} = 标签3_A
$ V = A × "编辑框"3_L = 标签3_V
