#!/usr/bin/perl 



$false = 0;
$true = 1;

$n = 5;

$flags[0] = $false;
$flags[1] = $false;
$flags[2] = $false;
$flags[3] = $false;
$flags[4] = $false;
$flags[5] = $false;
$flags[6] = $false;
if($n eq 5)
{
$flags[0] = $true;
}
if( $n >  5)
{
$flags[1] = $true;
}
if( $n >= 5)
{
$flags[2] = $true;
}
if( $n < 5)
{
$flags[3] = $true;
}
if( $n <= 5)
{
$flags[4] = $true;
}
if( $n ne 5)
{
$flags[5] = $true;
}
 if($flags[5] eq $true )
 { 
 goto a1;
}

printf("jne ");
a1:
 if($flags[0] eq $true )
 { 
 goto a2;
}

printf("je ");
a2:
 if($flags[2] eq $true )
 { 
 goto a3;
}

printf("jge ");
a3:
 if($flags[1] eq $true )
 { 
 goto a4;
}

printf("jg ");
a4:
 if($flags[3] eq $true )
 { 
 goto a5;
}

printf("jl ");
a5:
 if($flags[4] eq $true )
 { 
 goto a6;
}

printf("jle ");
a6:
printf("\n");

$flags[0] = $false;
$flags[1] = $false;
$flags[2] = $false;
$flags[3] = $false;
$flags[4] = $false;
$flags[5] = $false;
$flags[6] = $false;
if($n eq 9)
{
$flags[0] = $true;
}
if( $n >  9)
{
$flags[1] = $true;
}
if( $n >= 9)
{
$flags[2] = $true;
}
if( $n < 9)
{
$flags[3] = $true;
}
if( $n <= 9)
{
$flags[4] = $true;
}
if( $n ne 9)
{
$flags[5] = $true;
}
 if($flags[5] eq $true )
 { 
 goto b1;
}

printf("jne ");
b1:
 if($flags[0] eq $true )
 { 
 goto b2;
}

printf("je ");
b2:
 if($flags[2] eq $true )
 { 
 goto b3;
}

printf("jge ");
b3:
 if($flags[1] eq $true )
 { 
 goto b4;
}

printf("jg ");
b4:
 if($flags[3] eq $true )
 { 
 goto b5;
}

printf("jl ");
b5:
 if($flags[4] eq $true )
 { 
 goto b6;
}

printf("jle ");
b6:
printf("\n");

$flags[0] = $false;
$flags[1] = $false;
$flags[2] = $false;
$flags[3] = $false;
$flags[4] = $false;
$flags[5] = $false;
$flags[6] = $false;
if($n eq 1)
{
$flags[0] = $true;
}
if( $n >  1)
{
$flags[1] = $true;
}
if( $n >= 1)
{
$flags[2] = $true;
}
if( $n < 1)
{
$flags[3] = $true;
}
if( $n <= 1)
{
$flags[4] = $true;
}
if( $n ne 1)
{
$flags[5] = $true;
}
 if($flags[5] eq $true )
 { 
 goto c1;
}

printf("jne ");
c1:
 if($flags[0] eq $true )
 { 
 goto c2;
}

printf("je ");
c2:
 if($flags[2] eq $true )
 { 
 goto c3;
}

printf("jge ");
c3:
 if($flags[1] eq $true )
 { 
 goto c4;
}

printf("jg ");
c4:
 if($flags[3] eq $true )
 { 
 goto c5;
}

printf("jl ");
c5:
 if($flags[4] eq $true )
 { 
 goto c6;
}

printf("jle ");
c6:
printf("\n");
goto done;
printf("jmp not taken\n");
done:
